#include "mainwindow/CommandRules.h"

#include "core/Texts.h"

#include <algorithm>

bool CommandEnabled(TCommand command, const TCommandState &s)
{
    if (s.Busy)
        return false;
    switch (command) {
    case TCommand::Save:
        return s.List && !s.Saved;
    case TCommand::SaveAs:
    case TCommand::Export:
    case TCommand::Print:
    case TCommand::WordlistSettings:
    case TCommand::StartExercise:
    case TCommand::StartTest:
        return s.List;
    case TCommand::Import:
        return s.List && s.CanInsert;
    case TCommand::Undo:
        return s.UndoKind != TUndoKind::None;
    case TCommand::Cut:
    case TCommand::Copy:
    case TCommand::Delete:
        return s.Mode != TSelectionMode::Nothing;
    case TCommand::Paste:
        return s.CanPaste;
    case TCommand::SelectAll:
        return s.CanSelectAll;
    case TCommand::KeyboardLayout:
        return s.TextEditorActive;
    case TCommand::InsertNewWord:
        return s.CanInsert;
    case TCommand::SetLesson:
    case TCommand::BatchRec:
    case TCommand::SetWords:
    case TCommand::ResetScore:
    case TCommand::SetLevel:
    case TCommand::LevelSubmenu:
        return s.Targets;
    case TCommand::InsertSound:
        return s.CanInsertSound;
    case TCommand::Find:
        return s.List && s.WordCount >= 1;
    case TCommand::FindNext:
        return s.FindButtonEnabled;
    case TCommand::New:
    case TCommand::Open:
    case TCommand::PrinterSetup:
    case TCommand::Exit:
    case TCommand::Options:
    case TCommand::Help:
    case TCommand::Homepage:
    case TCommand::About:
        return true;
    }
    return false;
}

QKeySequence DeleteShortcut(const TCommandState &state)
{
    if (state.MainWindowActive
        && (state.Mode == TSelectionMode::Rows || state.Mode == TSelectionMode::Sound))
        return QKeySequence(Qt::Key_Delete);
    return {};
}

std::string ForToRefCaption(const std::string &text, const std::string &forLanguage,
                            const std::string &refLanguage)
{
    return ReplacePlaceholders(text, {{"%fl%", forLanguage}, {"%tl%", refLanguage}});
}

std::string RefToForCaption(const std::string &text, const std::string &forLanguage,
                            const std::string &refLanguage)
{
    return ReplacePlaceholders(text, {{"%fl%", refLanguage}, {"%tl%", forLanguage}});
}

TLevelChoice LevelChoice(bool checked, bool on, int itemIndex)
{
    if (!checked)
        return {};
    if (!on || itemIndex < 0)
        return {true, 0};
    return {true, static_cast<uint8_t>(std::min(itemIndex, 2) + 1)};
}
