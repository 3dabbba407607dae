#include "mainwindow/GridFixture.h"

TEST_F(GridEditing, TheCurrentCellOpensItsEditorOverTheCellWithTheStoredText)
{
    Show(3);
    grid->SelectCellAt(ColOf(ckRefWord), 2);
    EXPECT_TRUE(RefWordEdit->isVisible());
    EXPECT_EQ(RefWordEdit, Focused());
    EXPECT_EQ(QStringLiteral("r1"), RefWordEdit->text());
    EXPECT_EQ(QStringLiteral("r1"), RefWordEdit->selectedText());
    EXPECT_EQ(grid->viewport(), RefWordEdit->parentWidget());
    const QRect cell = grid->CellRect(ColOf(ckRefWord), 2);
    EXPECT_EQ(cell.left() + 2, RefWordEdit->x());
    EXPECT_EQ(cell.width() - 2, RefWordEdit->width());

    grid->SelectCellAt(ColOf(ckScore), 2);
    EXPECT_FALSE(RefWordEdit->isVisible());
    EXPECT_EQ(grid, Focused()) << "the score column opens nothing";
    grid->SelectCellAt(ColOf(ckContext), 4);
    EXPECT_FALSE(ContextEdit->isVisible()) << "the append row's context cell does not open";
    grid->SelectCellAt(ColOf(ckLevel2), 3);
    EXPECT_TRUE(LevelCombo->isVisible());

    // The part-of-speech combo stays 21 pixels high, centred on its row, also in taller rows.
    for (int size : {8, 24}) {
        grid->SetForFont(std::make_unique<TListFont>(TListFont{"Arial", 0, size}));
        grid->SelectCellAt(ColOf(ckPartOfSpeech), 2);
        ASSERT_TRUE(PartOfSpeechCombo->isVisible());
        const QRect partOfSpeech = grid->CellRect(ColOf(ckPartOfSpeech), 2);
        EXPECT_EQ(21, PartOfSpeechCombo->height()) << size;
        EXPECT_EQ(partOfSpeech.top() + (grid->DefaultRowHeight() - 21) / 2, PartOfSpeechCombo->y())
                << size;
        EXPECT_EQ(partOfSpeech.left(), PartOfSpeechCombo->x());
    }

    // Scrolled, the open editor moves with its cell.
    grid->resize(1000, 60);
    grid->SelectCellAt(ColOf(ckForWord), 1);
    grid->SetTopRow(2);
    EXPECT_LT(ForWordEdit->y() + ForWordEdit->height(), 0);
    grid->SetTopRow(1);
    EXPECT_EQ(grid->CellRect(ColOf(ckForWord), 1).left() + 2, ForWordEdit->x());
    EXPECT_GE(ForWordEdit->y(), grid->CellRect(ColOf(ckForWord), 1).top());
}

TEST_F(GridEditing, TypingOnTheAppendRowAppendsOneWordAndKeepsItWhenEmptiedAgain)
{
    TWordList &list = Show(2);
    grid->SelectCellAt(ColOf(ckRefWord), 3);
    ASSERT_EQ(RefWordEdit, Focused());
    Type(Qt::Key_A, 30, QStringLiteral("a"));
    ASSERT_EQ(3, list.Count());
    EXPECT_EQ("", list.GetForWord(2));
    EXPECT_EQ("a", list.GetRefWord(2));
    EXPECT_EQ(5, grid->RowCount());
    EXPECT_EQ(1, recorder.WordCounts);
    Type(Qt::Key_B, 48, QStringLiteral("b"));
    EXPECT_EQ("ab", list.GetRefWord(2));
    EXPECT_EQ(3, list.Count());
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(3, list.Count());
    EXPECT_EQ("", list.GetRefWord(2));
    EXPECT_EQ(1, recorder.WordCounts);
    EXPECT_FALSE(list.Saved);
}

TEST_F(GridEditing, KeysTypeThroughTheEditorsLayoutAndReachTheListAtOnce)
{
    TWordList &list = Show(1);
    ForWordEdit->SetKbLayout(KbLayout{"de", ""});
    grid->SelectCellAt(ColOf(ckForWord), 1);
    ASSERT_EQ(ForWordEdit, Focused());
    Type(Qt::Key_Y, 21, QStringLiteral("y"));
    EXPECT_EQ("z", list.GetForWord(0));
    Type(Qt::Key_Equal, 13, QStringLiteral("="));
    EXPECT_EQ("z", list.GetForWord(0)) << "an accent key waits";
    Type(Qt::Key_E, 18, QStringLiteral("e"));
    EXPECT_EQ("z\xE9", list.GetForWord(0));

    // The reference editor keeps the desktop's layout.
    Key(Qt::Key_Tab);
    ASSERT_EQ(RefWordEdit, Focused());
    EXPECT_EQ(KbLayouts::StartupLayout(), KbLayouts::GetKeyboardLayout());
    Type(Qt::Key_Y, 21, QStringLiteral("y"));
    EXPECT_EQ("y", list.GetRefWord(0));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(KbLayout({"de", ""}), KbLayouts::GetKeyboardLayout());

    // Greek letters do not fit the list's Western foreign font.
    ForWordEdit->SetKbLayout(KbLayout{"gr", ""});
    Key(Qt::Key_End);
    Type(Qt::Key_A, 30, QStringLiteral("a"));
    EXPECT_EQ("z\xE9", list.GetForWord(0));
    EXPECT_EQ(1, Beeps);
}

TEST_F(GridEditing, LengthLimitsCountTheBytesOfTheFieldsCodePage)
{
    TWordList &list = Show(1, ShiftJisCharset);
    grid->SelectCellAt(ColOf(ckForWord), 1);
    // 300 characters of two bytes each stay under the editor's limit but not under 512 bytes.
    ForWordEdit->insert(QString(300, QChar(0x3042)));
    EXPECT_EQ("f0", list.GetForWord(0));
    EXPECT_EQ(QStringLiteral("f0"), ForWordEdit->text());
    ForWordEdit->selectAll();
    ForWordEdit->insert(QString(256, QChar(0x3042)));
    EXPECT_EQ(512u, list.GetForWord(0).size());

    grid->SelectCellAt(ColOf(ckForWord), 2);
    ForWordEdit->insert(QString(257, QChar(0x3042)));
    EXPECT_EQ(1, list.Count()) << "an over-long paste on the append row appends nothing";
    EXPECT_EQ(QString(), ForWordEdit->text());

    // A paste the code page cannot hold is refused, not stored with question marks.
    grid->SelectCellAt(ColOf(ckRefWord), 1);
    RefWordEdit->insert(QStringLiteral("\u0416"));
    EXPECT_EQ("r0", list.GetRefWord(0));
    EXPECT_EQ(QStringLiteral("r0"), RefWordEdit->text());
}

TEST_F(GridEditing, EnterFollowsNormalEnterAndDownStaysOnTheLastWord)
{
    Show(4);
    const int context = ColOf(ckContext);
    grid->SelectCellAt(context, 3);
    Key(Qt::Key_Return);
    EXPECT_EQ(std::make_pair(1, 4), Cell());
    EXPECT_EQ(ForWordEdit, Focused());
    grid->SelectCellAt(context, 3);
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(std::make_pair(context, 4), Cell());
    Key(Qt::Key_Down);
    EXPECT_EQ(std::make_pair(context, 4), Cell()) << "the context column ends at the last word";
    grid->SelectCellAt(1, 4);
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(std::make_pair(1, 5), Cell()) << "keypad Enter is Enter";
    Key(Qt::Key_Return);
    EXPECT_EQ(std::make_pair(1, 5), Cell()) << "Enter on the append row does nothing";

    EditOptions.NormalEnter = false;
    grid->SelectCellAt(context, 2);
    Key(Qt::Key_Return);
    EXPECT_EQ(std::make_pair(context, 3), Cell());
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(std::make_pair(1, 4), Cell());
    Key(Qt::Key_Up);
    EXPECT_EQ(std::make_pair(1, 3), Cell());
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(std::make_pair(1, 1), Cell());
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(std::make_pair(1, 5), Cell());
}

TEST_F(GridEditing, TabRightAndLeftMoveBetweenEditableColumnsAndWithinTheText)
{
    Show(2);
    grid->SelectCellAt(ColOf(ckLesson), 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(ColOf(ckLevel1), grid->Col()) << "the sound column is skipped";
    Key(Qt::Key_Tab);
    EXPECT_EQ(ColOf(ckLevel2), grid->Col());
    Key(Qt::Key_Tab);
    EXPECT_EQ(ColOf(ckLevel2), grid->Col()) << "the score column is not editable";
    Key(Qt::Key_Home);
    EXPECT_EQ(1, grid->Col());

    // All text is selected on entry: Right collapses it to the end, then leaves the cell.
    ASSERT_EQ(QStringLiteral("f0"), ForWordEdit->selectedText());
    Key(Qt::Key_Right);
    EXPECT_EQ(1, grid->Col());
    EXPECT_FALSE(ForWordEdit->hasSelectedText());
    EXPECT_EQ(2, ForWordEdit->cursorPosition());
    Key(Qt::Key_Left);
    EXPECT_EQ(1, ForWordEdit->cursorPosition()) << "mid-text the caret moves";
    Key(Qt::Key_Right);
    EXPECT_EQ(1, grid->Col());
    Key(Qt::Key_Right);
    EXPECT_EQ(ColOf(ckRefWord), grid->Col());
    Key(Qt::Key_Left);
    EXPECT_EQ(ColOf(ckRefWord), grid->Col());
    EXPECT_EQ(0, RefWordEdit->cursorPosition()) << "Left collapses to the selection's start";
    Key(Qt::Key_Left);
    EXPECT_EQ(1, grid->Col());
    Key(Qt::Key_End);
    EXPECT_EQ(1, grid->Col()) << "End first needs the caret at the end";
    Key(Qt::Key_End);
    EXPECT_EQ(ColOf(ckLevel2), grid->Col());

    // On the append row only the two word columns are editable.
    grid->SelectCellAt(ColOf(ckRefWord), 3);
    Key(Qt::Key_Tab);
    EXPECT_EQ(ColOf(ckRefWord), grid->Col());
}

TEST_F(GridEditing, ShiftArrowsStartARowSelectionAndPagingAlwaysMoves)
{
    Show(10);
    grid->SelectCellAt(ColOf(ckContext), 3);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(grid->IsRowSelection());
    EXPECT_EQ((TGridRect{1, 3, 9, 3}), grid->Selection());
    EXPECT_FALSE(ContextEdit->isVisible()) << "no editor stays open over selected rows";
    EXPECT_EQ(grid, Focused()) << "the grid takes the keys of the selected rows";
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ((TGridRect{1, 3, 9, 4}), grid->Selection());

    grid->SelectCellAt(ColOf(ckContext), 5);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ((TGridRect{1, 5, 9, 5}), grid->Selection());

    // A grid one row high pages by one row.
    grid->resize(1000, 40);
    ASSERT_EQ(1, grid->VisibleRowCount());
    grid->SelectCellAt(1, 5);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(6, grid->Row());
    Key(Qt::Key_PageUp);
    EXPECT_EQ(5, grid->Row());

    // A column wider than the grid still comes into view.
    grid->resize(60, 400);
    grid->SelectCellAt(ColOf(ckLevel2), 2);
    EXPECT_EQ(ColOf(ckLevel2), grid->LeftCol());
    EXPECT_TRUE(LevelCombo->isVisible());
}

TEST_F(GridEditing, PartOfSpeechCompletesCaseSensitivelyAndUndoesPerRow)
{
    TWordList &list = Show(6);
    const int partOfSpeech = ColOf(ckPartOfSpeech);
    QLineEdit *edit = PartOfSpeechCombo->lineEdit();
    grid->SelectCellAt(partOfSpeech, 1);
    Key(Qt::Key_N);
    EXPECT_EQ("noun", list.GetPartOfSpeech(0));
    EXPECT_EQ(QStringLiteral("oun"), edit->selectedText());
    EXPECT_EQ(4, edit->cursorPosition()) << "the caret stands after the completion";
    Key(Qt::Key_U);
    EXPECT_EQ("numeral", list.GetPartOfSpeech(0));
    EXPECT_EQ(QStringLiteral("meral"), edit->selectedText());
    EXPECT_EQ(2, edit->selectionStart());
    EXPECT_EQ(7, edit->cursorPosition());
    Key(Qt::Key_Backspace);
    EXPECT_EQ("nu", list.GetPartOfSpeech(0)) << "Backspace does not complete again";
    Key(Qt::Key_M);
    EXPECT_EQ("numeral", list.GetPartOfSpeech(0));
    EXPECT_EQ(7, edit->cursorPosition());
    // Shift+Left shrinks the completion from its end, as from any selection typed forwards.
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(QStringLiteral("era"), edit->selectedText());
    Key(Qt::Key_End);
    EXPECT_EQ(7, edit->cursorPosition());
    EXPECT_FALSE(edit->hasSelectedText());
    edit->selectAll();
    QTest::keyClicks(Focused(), QStringLiteral("N"));
    EXPECT_EQ("N", list.GetPartOfSpeech(0)) << "completion is case-sensitive";

    // Two changes of one word come back with one Undo.
    EXPECT_EQ(TUndoKind::PartOfSpeech, grid->GetUndoKind());
    grid->Undo();
    EXPECT_EQ("", list.GetPartOfSpeech(0));

    // Changes on two rows: Undo takes back the second.
    grid->SelectCellAt(partOfSpeech, 3);
    Key(Qt::Key_V);
    grid->SelectCellAt(partOfSpeech, 5);
    Key(Qt::Key_W);
    EXPECT_EQ("v", list.GetPartOfSpeech(2));
    EXPECT_EQ("w", list.GetPartOfSpeech(4));
    grid->Undo();
    EXPECT_EQ("v", list.GetPartOfSpeech(2));
    EXPECT_EQ("", list.GetPartOfSpeech(4));

    EditOptions.AutoComplete = false;
    grid->SelectCellAt(partOfSpeech, 6);
    Key(Qt::Key_N);
    EXPECT_EQ("n", list.GetPartOfSpeech(5));
}

TEST_F(GridEditing, ALevelPickStoresTheLevelWithItsUndoRecord)
{
    TWordList &list = Show(3);
    grid->SelectCellAt(ColOf(ckLevel2), 2);
    ASSERT_EQ(LevelCombo, Focused());
    EXPECT_EQ(0, LevelCombo->currentIndex());
    LevelCombo->setCurrentIndex(2);
    emit LevelCombo->activated(2);
    EXPECT_EQ(2, list.GetLevel2(1));
    EXPECT_EQ(0, list.GetLevel1(1));
    EXPECT_EQ(TUndoKind::Levels, grid->GetUndoKind());
    grid->Undo();
    EXPECT_EQ(0, list.GetLevel2(1));
    grid->SelectCellAt(ColOf(ckLevel1), 3);
    Key(Qt::Key_Left);
    EXPECT_EQ(ColOf(ckLesson), grid->Col()) << "Left leaves a level cell at once";
}

TEST_F(GridEditing, OnlyAnotherControlOfTheWindowClosesTheEditor)
{
    Show(3);
    grid->SelectCellAt(ColOf(ckForWord), 2);
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    EXPECT_TRUE(ForWordEdit->isVisible()) << "another window leaves the editor open";
    QApplication::setActiveWindow(&window);
    const QRect cell = grid->CellRect(ColOf(ckRefWord), 3);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_FALSE(ForWordEdit->isVisible());
    EXPECT_TRUE(RefWordEdit->isVisible());
    EXPECT_EQ(std::make_pair(ColOf(ckRefWord), 3), Cell());
}

TEST_F(GridEditing, APressOnACellEndsEveryRowSelectionAndTheOpenedEditorTakesTheKeys)
{
    TWordList &list = Show(6);
    const int refWord = ColOf(ckRefWord);
    const std::vector<std::pair<const char *, std::function<void()>>> selections{
            {"Shift+Down in an editor",
             [&] {
                 grid->SelectCellAt(ColOf(ckContext), 2);
                 Key(Qt::Key_Down, Qt::ShiftModifier);
                 Key(Qt::Key_Down, Qt::ShiftModifier);
             }},
            {"Select all",
             [&] {
                 grid->SelectCellAt(ColOf(ckScore), 1);
                 grid->SelectAll();
             }},
            {"a paste",
             [&] {
                 grid->SelectRows(5, false, false);
                 ASSERT_TRUE(grid->Copy());
                 grid->SelectCellAt(ColOf(ckLesson), 3);
                 grid->Paste();
             }},
            {"an undo that selects rows",
             [&] {
                 grid->SelectRows(2, false, false);
                 grid->SelectRows(4, true, false);
                 grid->SetLesson("les");
                 grid->SelectCellAt(ColOf(ckForWord), 1);
                 grid->Undo();
             }},
    };
    // Each case types a letter of its own, so that it shows its own typing.
    char letter = 'a';
    for (const auto &[name, selectRows] : selections) {
        SCOPED_TRACE(name);
        selectRows();
        ASSERT_TRUE(grid->IsRowSelection());
        ASSERT_TRUE(grid->Selection().Contains(refWord, 3));

        Click(refWord, 3);
        EXPECT_FALSE(grid->IsRowSelection());
        EXPECT_EQ((TGridRect{refWord, 3, refWord, 3}), grid->Selection());
        EXPECT_TRUE(RefWordEdit->isVisible());
        ASSERT_EQ(RefWordEdit, Focused());
        Key(Qt::Key_A + letter - 'a');
        EXPECT_EQ(std::string(1, letter++), list.GetRefWord(2));
        Key(Qt::Key_Down);
        EXPECT_EQ(std::make_pair(refWord, 4), Cell());
        EXPECT_EQ(RefWordEdit, Focused());
        Key(Qt::Key_Tab);
        EXPECT_EQ(std::make_pair(ColOf(ckContext), 4), Cell());
        EXPECT_EQ(ContextEdit, Focused());
    }

    // The right button makes the cell current too, before any context menu; cells that open
    // nothing still end the row selection.
    grid->SelectRows(1, false, false);
    grid->SelectRows(3, true, false);
    Click(ColOf(ckLesson), 2, Qt::RightButton);
    EXPECT_FALSE(grid->IsRowSelection());
    EXPECT_EQ(LessonEdit, Focused());
    grid->SelectRows(1, false, false);
    grid->SelectRows(3, true, false);
    Click(ColOf(ckScore), 2);
    EXPECT_FALSE(grid->IsRowSelection());
    EXPECT_EQ(std::make_pair(ColOf(ckScore), 2), Cell());
    EXPECT_EQ(grid, Focused());
}

TEST_F(GridEditing, TheWindowsEditShortcutsComeBeforeTheEditors)
{
    Show(2);
    int undos = 0;
    QAction undo(&window);
    undo.setShortcut(QKeySequence::Undo);
    window.addAction(&undo);
    QObject::connect(&undo, &QAction::triggered, [&] { ++undos; });
    grid->SelectCellAt(ColOf(ckLesson), 1);
    ASSERT_EQ(LessonEdit, Focused());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(1, undos);
    Key(Qt::Key_X);
    EXPECT_EQ("x", grid->GetWordList()->GetLesson(0));
}

TEST_F(GridEditing, TheSelectionModeFollowsRowsTheEditorsSelectionAndTheSound)
{
    TWordList &list = Show(3);
    grid->SelectCellAt(ColOf(ckPartOfSpeech), 1);
    EXPECT_EQ(TSelectionMode::Nothing, grid->SelectionMode()) << "an empty editor selects nothing";
    grid->SelectCellAt(ColOf(ckContext), 2);
    ContextEdit->insert(QStringLiteral("abc"));
    ContextEdit->setSelection(1, 1);
    EXPECT_EQ(TSelectionMode::EditorText, grid->SelectionMode());
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(TSelectionMode::Rows, grid->SelectionMode());
    grid->SelectCellAt(ColOf(ckSound), 2);
    EXPECT_EQ(TSelectionMode::Nothing, grid->SelectionMode());
    list.SetSound(1, 0, 10);
    EXPECT_EQ(TSelectionMode::Sound, grid->SelectionMode());
    grid->SelectCellAt(ColOf(ckScore), 2);
    EXPECT_EQ(TSelectionMode::Nothing, grid->SelectionMode());
}

TEST_F(GridEditing, ABusyGridOpensNoCell)
{
    Show(3);
    grid->SelectCellAt(1, 1);
    grid->SetBusy(false);
    grid->SelectCellAt(ColOf(ckRefWord), 2);
    EXPECT_EQ(std::make_pair(1, 1), Cell());
    EXPECT_FALSE(RefWordEdit->isVisible());
    grid->ClearBusy();
    grid->SelectCellAt(ColOf(ckRefWord), 2);
    EXPECT_TRUE(RefWordEdit->isVisible());
}

namespace {

QByteArray SoundBytes(TWordList &list, int index)
{
    return list.CopySoundToStream(index)->data();
}

QClipboard &Clipboard()
{
    return *QGuiApplication::clipboard();
}

bool ClipboardHolds(const char *format)
{
    const QMimeData *data = Clipboard().mimeData();
    return data && data->hasFormat(QLatin1String(format));
}

} // namespace

TEST_F(GridEditing, CopyOfACellWithoutTextOrSoundLeavesTheClipboardAsItWas)
{
    TWordList &list = Show(4);
    GiveSound(list, 1, "sound one");
    Clipboard().setText(QStringLiteral("kept"));
    for (uint8_t kind : {ckLevel1, ckLevel2, ckScore, ckSound}) {
        grid->SelectCellAt(ColOf(kind), 3);
        EXPECT_TRUE(grid->Copy());
        EXPECT_EQ(QStringLiteral("kept"), Clipboard().text()) << int(kind);
    }
    grid->SelectCellAt(ColOf(ckSound), 2);
    EXPECT_TRUE(grid->Copy());
    EXPECT_TRUE(ClipboardHolds(TWordsGrid::SoundClipboardFormat));
    EXPECT_FALSE(ClipboardHolds(TWordsGrid::WordsClipboardFormat));
}

TEST_F(GridEditing, CutOfThePartOfSpeechCopiesItWholeButDeletesTheSelectionOnly)
{
    TWordList &list = Show(3);
    list.SetPartOfSpeech(1, "numeral");
    grid->SelectCellAt(ColOf(ckPartOfSpeech), 2);
    PartOfSpeechCombo->lineEdit()->setSelection(0, 3);
    ASSERT_EQ(TSelectionMode::EditorText, grid->SelectionMode());
    grid->Cut();
    EXPECT_EQ(QStringLiteral("numeral"), Clipboard().text());
    EXPECT_EQ("eral", list.GetPartOfSpeech(1));
}

TEST_F(GridEditing, PastedWordsComeInAtTheCurrentRowSelectedAndUndoRemovesThem)
{
    TWordList &list = Show(8);
    grid->SelectRows(2, false, false);
    grid->SelectRows(3, true, false);
    ASSERT_TRUE(grid->Copy());
    grid->SelectCellAt(ColOf(ckContext), 5);
    ASSERT_TRUE(grid->CanPaste());
    recorder.WordCounts = 0;
    grid->Paste();
    ASSERT_EQ(10, list.Count());
    EXPECT_EQ("f1", list.GetForWord(4));
    EXPECT_EQ("f2", list.GetForWord(5));
    EXPECT_EQ("f4", list.GetForWord(6));
    EXPECT_EQ(12, grid->RowCount());
    EXPECT_TRUE(grid->IsRowSelection());
    EXPECT_EQ(5, grid->Selection().Top);
    EXPECT_EQ(6, grid->Selection().Bottom);
    EXPECT_EQ(1, recorder.WordCounts);
    EXPECT_FALSE(ContextEdit->isVisible()) << "the editor would now stand over another word";
    EXPECT_EQ(TUndoKind::Insert, grid->GetUndoKind());

    grid->Undo();
    ASSERT_EQ(8, list.Count());
    EXPECT_EQ("f4", list.GetForWord(4));
    EXPECT_EQ(10, grid->RowCount());
    EXPECT_EQ(TUndoKind::None, grid->GetUndoKind());

    // On the append row the words go to the end.
    grid->SelectCellAt(ColOf(ckForWord), 9);
    grid->Paste();
    ASSERT_EQ(10, list.Count());
    EXPECT_EQ("f2", list.GetForWord(9));
}

TEST_F(GridEditing, UndoneDeletedRowsCloseTheEditorThatStoodOverTheirPlace)
{
    TWordList &list = Show(4);
    grid->SelectRows(1, false, false);
    grid->SelectRows(2, true, false);
    grid->DeleteSelection();
    ASSERT_EQ(2, list.Count());
    ASSERT_EQ(TUndoKind::DeleteWords, grid->GetUndoKind());
    grid->SelectCellAt(ColOf(ckContext), 1);
    ASSERT_TRUE(ContextEdit->isVisible());
    ASSERT_EQ(TUndoKind::DeleteWords, grid->GetUndoKind());

    grid->Undo();
    ASSERT_EQ(4, list.Count());
    EXPECT_EQ("f0", list.GetForWord(0));
    EXPECT_EQ("f2", list.GetForWord(2));
    EXPECT_FALSE(ContextEdit->isVisible()) << "the editor would now stand over another word";
    EXPECT_TRUE(grid->IsRowSelection());
    EXPECT_EQ(1, grid->Selection().Top);
    EXPECT_EQ(2, grid->Selection().Bottom);
}

TEST_F(GridEditing, APastedSoundGoesToTheCurrentWordOnlyAndUndoTakesItAway)
{
    TWordList &list = Show(3);
    GiveSound(list, 0, "first sound");
    grid->SelectCellAt(ColOf(ckSound), 1);
    ASSERT_TRUE(grid->Copy());
    grid->SelectCellAt(ColOf(ckForWord), 4);
    EXPECT_FALSE(grid->CanPaste()) << "never into the append row";
    grid->Paste();
    EXPECT_EQ(3, list.Count());

    grid->SelectCellAt(ColOf(ckSound), 3);
    ASSERT_TRUE(grid->CanPaste());
    grid->Paste();
    ASSERT_NE(nullptr, list.GetSound(2));
    EXPECT_EQ(QByteArray("first sound"), SoundBytes(list, 2));
    EXPECT_EQ(std::make_pair(ColOf(ckSound), 3), Cell());
    EXPECT_EQ(TUndoKind::SoundChange, grid->GetUndoKind());
    grid->Undo();
    EXPECT_EQ(nullptr, list.GetSound(2));
    EXPECT_EQ(QByteArray("first sound"), SoundBytes(list, 0));

    // From a text cell of a word that has a sound: Undo gives the old one back.
    GiveSound(list, 1, "second");
    grid->SelectCellAt(ColOf(ckLesson), 2);
    grid->Paste();
    EXPECT_EQ(QByteArray("first sound"), SoundBytes(list, 1));
    EXPECT_EQ(std::make_pair(ColOf(ckSound), 2), Cell());
    grid->Undo();
    EXPECT_EQ(QByteArray("second"), SoundBytes(list, 1));
}

TEST_F(GridEditing, CopiedRowsKeepTheirSoundsInAnotherList)
{
    TWordList &first = Show(3);
    GiveSound(first, 0, "zero");
    GiveSound(first, 2, "two");
    grid->SelectRows(1, false, false);
    grid->SelectRows(3, true, false);
    grid->Cut();
    EXPECT_EQ(0, first.Count());
    EXPECT_EQ(TUndoKind::DeleteWords, grid->GetUndoKind());

    TWordList &second = Show(2);
    GiveSound(second, 1, "other list's own");
    grid->SelectCellAt(ColOf(ckRefWord), 2);
    grid->Paste();
    ASSERT_EQ(5, second.Count());
    EXPECT_EQ("f0", second.GetForWord(1));
    EXPECT_EQ(QByteArray("zero"), SoundBytes(second, 1));
    EXPECT_EQ(nullptr, second.GetSound(2));
    EXPECT_EQ(QByteArray("two"), SoundBytes(second, 3));
    EXPECT_EQ(QByteArray("other list's own"), SoundBytes(second, 4));
}

TEST_F(GridEditing, DamagedOrUnstorablePastesLeaveTheListAsItWas)
{
    TScriptedBox box;
    box.Answer = 0;
    TWordList &list = Show(3);
    grid->StoreUndo(TUndoKind::ScoreReset, 1, 0);
    auto damaged = std::make_unique<QMimeData>();
    damaged->setData(QLatin1String(TWordsGrid::WordsClipboardFormat),
                     QByteArray("\x03\x00\x00\x00\xff\xff", 6));
    Clipboard().setMimeData(damaged.release());
    grid->SelectCellAt(ColOf(ckForWord), 2);
    grid->Paste();
    EXPECT_EQ(3, list.Count());
    EXPECT_EQ(5, grid->RowCount());
    EXPECT_EQ(TUndoKind::ScoreReset, grid->GetUndoKind()) << "nothing pasted, nothing to undo";

    // A sound store that cannot be opened: reported, and nothing changes.
    grid->SelectRows(1, false, false);
    ASSERT_TRUE(grid->Copy());
    const std::string store = list.SoundTempFile;
    list.SoundTempFile = store + ".missing/store";
    grid->SelectCellAt(ColOf(ckForWord), 2);
    grid->Paste();
    EXPECT_EQ(3, list.Count());
    EXPECT_EQ(1u, box.TextsWith(TMessageIcon::Stop).size());

    // Rows whose sound cannot be read are not cut.
    list.SoundTempFile = store;
    GiveSound(list, 0, "zero");
    list.SoundTempFile = store + ".missing/store";
    grid->SelectRows(1, false, false);
    grid->Cut();
    EXPECT_EQ(3, list.Count());
    EXPECT_EQ(2u, box.TextsWith(TMessageIcon::Stop).size());
    list.SoundTempFile = store;
}
