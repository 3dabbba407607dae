#include "core/ModalResult.h"
#include "core/Texts.h"
#include "core/Unit_Charsets.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "dialogs/Unit_OptionsForm.h"
#include "dialogs/Unit_PartsOfSpeechForm.h"
#include "mainwindow/Main.h"
#include "platform/Beep.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "ui_MainForm.h"
#include "ui_OptionsForm.h"
#include "ui_PartsOfSpeechForm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

int Beeps = 0;
void CountBeep(TBeepKind)
{
    ++Beeps;
}

// Runs step once the dialog's own event loop is running, and gives back what exec answered.
int RunModal(QDialog *dialog, const std::function<void()> &step)
{
    QTimer::singleShot(0, dialog, step);
    return dialog->exec();
}

QStringList Items(const QListWidget &list)
{
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items.append(list.item(i)->text());
    return items;
}

std::vector<int> SelectedRows(const QListWidget &list)
{
    std::vector<int> rows;
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->isSelected())
            rows.push_back(i);
    }
    return rows;
}

class SettingsDialogs : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ASSERT_TRUE(Start());
        Beeps = 0;
        previousBeep = SetBeepHandler(CountBeep);
    }
    void TearDown() override
    {
        SetBeepHandler(previousBeep);
        for (const QString &file : packFiles)
            QFile::remove(file);
        ProgramFixture::TearDown();
    }

    // A file beside the program, as the language list finds packs; removed after the test.
    QString PutPack(const QString &name, const QByteArray &bytes)
    {
        const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        packFiles.append(path);
        return path;
    }
    QString Unique(const char *stem)
    {
        return QStringLiteral("%1%2")
                .arg(QLatin1String(stem))
                .arg(QCoreApplication::applicationPid());
    }

    Ui::TOptionsForm &Options() { return *OptionsForm->ui; }
    Ui::TPartsOfSpeechForm &Parts() { return *PartsOfSpeechForm->ui; }
    void ShowParts(const std::string &setting)
    {
        PartsOfSpeech = setting;
        PartsOfSpeechForm->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(PartsOfSpeechForm));
    }

    TScriptedBox box;
    QStringList packFiles;
    TBeepHandler previousBeep = nullptr;
};

} // namespace

// Each failure is the first of the order, on the Exercises page whichever page OK was pressed
// on, with the focus on its edit; nothing at all is written.
TEST_F(SettingsDialogs, OptionsThresholdsFailInOrderOnTheExercisesPageAndWriteNothing)
{
    const std::vector<std::tuple<const char *, const char *, const char *, TEntry, const char *>>
            cases{
                    {"2", "2", "6", TEntry::NormalThresholdTooLow, "NormalEdit"},
                    {"0", "2", "3", TEntry::QuickThresholdTooLow, "QuickEdit"},
                    {"a", "", "6", TEntry::ThresholdNotANumber, "QuickEdit"},
                    {"", "", "", TEntry::QuickThresholdEmpty, "QuickEdit"},
                    {"1", "", "x", TEntry::NormalThresholdEmpty, "NormalEdit"},
                    {"1", "2", "", TEntry::IntensiveThresholdEmpty, "IntensiveEdit"},
                    {"1", "3", "3", TEntry::IntensiveThresholdTooLow, "IntensiveEdit"},
                    {"1", "2", "99999999999999999999", TEntry::IntensiveThresholdTooHigh,
                     "IntensiveEdit"},
            };
    const auto thresholds = ExerciseOptions.LevelThresholds;
    const bool confirmDelete = EditOptions.ConfirmDelete;
    for (const auto &[quick, normal, intensive, entry, control] : cases) {
        SCOPED_TRACE(std::string(quick) + "/" + normal + "/" + intensive);
        OptionsForm->show();
        Options().PageControl->setCurrentIndex(TOptionsForm::opOthers);
        Options().DeleteConfirmCheck->setChecked(!confirmDelete);
        Options().QuickEdit->setText(QLatin1String(quick));
        Options().NormalEdit->setText(QLatin1String(normal));
        Options().IntensiveEdit->setText(QLatin1String(intensive));
        Options().OKButton->click();
        const std::string expected = entry == TEntry::IntensiveThresholdTooHigh
                ? ReplacePlaceholders(LanguageText(entry), {{"%n%", "30"}})
                : LanguageText(entry);
        EXPECT_EQ(std::vector<std::string>{expected}, box.Take());
        EXPECT_TRUE(OptionsForm->isVisible());
        EXPECT_EQ(TOptionsForm::opExercises, Options().PageControl->currentIndex());
        ASSERT_NE(nullptr, OptionsForm->focusWidget());
        EXPECT_EQ(control, OptionsForm->focusWidget()->objectName().toStdString());
        EXPECT_EQ(thresholds, ExerciseOptions.LevelThresholds);
        EXPECT_EQ(confirmDelete, EditOptions.ConfirmDelete);
        OptionsForm->close();
    }
}

TEST_F(SettingsDialogs, OptionsOkWritesEveryControlAndTheCloseBoxAnswersCancel)
{
    const int result = RunModal(OptionsForm, [this] {
        Options().SortConfirmCheck->setChecked(!EditOptions.ConfirmSort);
        Options().IsDownRadio->setChecked(true);
        Options().ScoreCombo->setCurrentIndex(5);
        Options().QuickEdit->setText(QStringLiteral("007"));
        Options().NormalEdit->setText(QStringLiteral("8"));
        Options().IntensiveEdit->setText(QStringLiteral("30"));
        Options().MRUCheckBox->setChecked(!OtherOptions.LoadMRU);
        EXPECT_EQ(0, Options().NoiseTrackBar->minimum());
        EXPECT_EQ(20, Options().NoiseTrackBar->maximum());
        Options().NoiseTrackBar->setValue(20);
        // No language chosen: the pack in use stays and the rest is still saved.
        Options().LanguageBox->clearSelection();
        Options().OKButton->click();
    });
    const bool sort = EditOptions.ConfirmSort;
    EXPECT_EQ(mrOk, result);
    EXPECT_TRUE(box.Texts.empty());
    EXPECT_FALSE(EditOptions.NormalEnter);
    EXPECT_EQ(5, ExerciseOptions.RequiredScore);
    EXPECT_EQ(7, ExerciseOptions.LevelThresholds[1]);
    EXPECT_EQ(8, ExerciseOptions.LevelThresholds[2]);
    EXPECT_EQ(30, ExerciseOptions.LevelThresholds[3]);
    EXPECT_EQ(20, OtherOptions.NoiseLevel);
    EXPECT_EQ("Nederlands", Language);

    const int closed = RunModal(OptionsForm, [this, sort] {
        Options().SortConfirmCheck->setChecked(!sort);
        OptionsForm->close();
    });
    EXPECT_EQ(mrCancel, closed);
    EXPECT_EQ(sort, EditOptions.ConfirmSort);
}

// Only files that pass the header test under names the loader opens: the name filter minds the
// case, a hidden file counts, and lines may end in CR LF.
TEST_F(SettingsDialogs, OptionsOffersOnlyRealPacksAndAFailedLoadKeepsThePackInUse)
{
    const QString good = Unique("Goed");
    PutPack(good + QStringLiteral(".lng"), "Tarnwick Language Pack\r\n02\r\n:setup\r\n");
    PutPack(Unique(".Verborgen") + QStringLiteral(".lng"), "Tarnwick Language Pack\n2\n");
    PutPack(Unique("Hoofd") + QStringLiteral(".LNG"), "Tarnwick Language Pack\r\n2\r\n");
    PutPack(Unique("Kast") + QStringLiteral(".lng"), "tarnwick language pack\r\n2\r\n");
    PutPack(Unique("Drie") + QStringLiteral(".lng"), "Tarnwick Language Pack\r\n3\r\n");
    PutPack(Unique("Letter") + QStringLiteral(".lng"), "Tarnwick Language Pack\r\n2a\r\n");
    PutPack(Unique("Leeg") + QStringLiteral(".lng"), "Tarnwick Language Pack\r\n\r\n");
    std::vector<std::string> names = TOptionsForm::LanguagePackNames();
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected{"English", "Nederlands", good.toStdString(),
                                      Unique(".Verborgen").toStdString()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, names);

    TLanguagePack *const inUse = LanguagePack;
    const bool sort = EditOptions.ConfirmSort;
    OptionsForm->show();
    EXPECT_EQ(QStringList{QStringLiteral("Nederlands")}, [this] {
        QStringList selected;
        for (QListWidgetItem *item : Options().LanguageBox->selectedItems())
            selected.append(item->text());
        return selected;
    }());
    // The language in use is not loaded again.
    Options().OKButton->click();
    EXPECT_EQ(inUse, LanguagePack);
    EXPECT_TRUE(box.Texts.empty());

    OptionsForm->show();
    Options().SortConfirmCheck->setChecked(!sort);
    Options().LanguageBox->findItems(good, Qt::MatchExactly).front()->setSelected(true);
    Options().OKButton->click();
    EXPECT_EQ(std::vector<std::string>{ReplacePlaceholders(LanguageText(TEntry::PackNotLoaded),
                                                           {{"%l%", good.toStdString()}})},
              box.Take());
    EXPECT_TRUE(OptionsForm->isVisible());
    EXPECT_EQ(TOptionsForm::opLanguage, Options().PageControl->currentIndex());
    EXPECT_EQ(Options().LanguageBox, OptionsForm->focusWidget());
    EXPECT_EQ(inUse, LanguagePack);
    EXPECT_EQ("Nederlands", Language);
    EXPECT_EQ(sort, EditOptions.ConfirmSort);

    // Another language is put on every window at once, this one and the main window included.
    Options()
            .LanguageBox->findItems(QStringLiteral("English"), Qt::MatchExactly)
            .front()
            ->setSelected(true);
    Options().OKButton->click();
    EXPECT_FALSE(OptionsForm->isVisible());
    EXPECT_EQ("English", Language);
    EXPECT_NE(inUse, LanguagePack);
    EXPECT_EQ(!sort, EditOptions.ConfirmSort);
    EXPECT_EQ(PackText(TEntry::OptionsCaption), OptionsForm->windowTitle());
    EXPECT_EQ(QStringLiteral("Options"), OptionsForm->windowTitle());
    EXPECT_EQ(PackText(TEntry::FileMenu), Form().MFile->title());
}

// The parts-of-speech button changes the setting at once; Cancel of the options does not take it
// back, and the grid's list offers the new parts.
TEST_F(SettingsDialogs, ConfirmedPartsOfSpeechSurviveCancelOfTheOptions)
{
    PartsOfSpeech = "zn,ww;bn";
    QTimer::singleShot(0, OptionsForm, [this] {
        QTimer::singleShot(0, PartsOfSpeechForm, [this] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(PartsOfSpeechForm));
            Parts().NewEdit->setFocus();
            Parts().NewEdit->setText(QStringLiteral("lidw"));
            Parts().UseButton->click();
            Parts().OKButton->click();
        });
        Options().PartsOfSpeechButton->click();
        Options().CancelButton->click();
    });
    MainForm->UpdateCommands();
    Form().MIOptions->trigger();
    EXPECT_EQ("zn,ww,lidw;bn", PartsOfSpeech);
    ASSERT_EQ(3, Form().PartOfSpeechCombo->count());
    EXPECT_EQ(u"lidw", Form().PartOfSpeechCombo->itemText(2));
}

TEST_F(SettingsDialogs, PartsOfSpeechOpenOnTheListThatHasItemsOrOnTheNewEdit)
{
    ASSERT_NO_FATAL_FAILURE(ShowParts(";"));
    EXPECT_EQ(0, Parts().UsedBox->count());
    EXPECT_EQ(0, Parts().AvailableBox->count());
    EXPECT_EQ(Parts().NewEdit, PartsOfSpeechForm->focusWidget());
    EXPECT_FALSE(Parts().UseButton->isEnabled());
    // Enter in the empty edit does nothing: the default button is disabled.
    QTest::keyClick(Parts().NewEdit, Qt::Key_Return);
    EXPECT_TRUE(PartsOfSpeechForm->isVisible());
    EXPECT_EQ(0, Parts().UsedBox->count());
    PartsOfSpeechForm->close();

    ASSERT_NO_FATAL_FAILURE(ShowParts("a,b;"));
    EXPECT_EQ(Parts().UsedBox, PartsOfSpeechForm->focusWidget());
    EXPECT_EQ(std::vector<int>{0}, SelectedRows(*Parts().UsedBox));
    EXPECT_EQ(PackText(TEntry::DoNotUseButton), Parts().UseButton->text());
    PartsOfSpeechForm->close();

    ASSERT_NO_FATAL_FAILURE(ShowParts("a,b;c,d"));
    EXPECT_EQ(Parts().AvailableBox, PartsOfSpeechForm->focusWidget());
    EXPECT_EQ(std::vector<int>{0}, SelectedRows(*Parts().AvailableBox));
    EXPECT_TRUE(SelectedRows(*Parts().UsedBox).empty());
    EXPECT_EQ(PackText(TEntry::UseButton), Parts().UseButton->text());
    // Restoring the defaults and cancelling leaves the setting as it was.
    Parts().DefaultButton->click();
    EXPECT_NE(QStringList({QStringLiteral("a"), QStringLiteral("b")}), Items(*Parts().UsedBox));
    Parts().CancelButton->click();
    EXPECT_EQ("a,b;c,d", PartsOfSpeech);
}

TEST_F(SettingsDialogs, PartsOfSpeechMoveABlockWithinItsListAndNeverPastItsEnds)
{
    ASSERT_NO_FATAL_FAILURE(ShowParts("a,b,c,d,e;"));
    QListWidget &used = *Parts().UsedBox;
    used.clearSelection();
    used.item(2)->setSelected(true);
    used.item(3)->setSelected(true);
    Parts().UpButton->click();
    Parts().UpButton->click();
    EXPECT_EQ(QStringList({"c", "d", "a", "b", "e"}), Items(used));
    EXPECT_EQ((std::vector<int>{0, 1}), SelectedRows(used));
    EXPECT_FALSE(Parts().UpButton->isEnabled());
    for (int i = 0; i < 3; ++i)
        Parts().DownButton->click();
    EXPECT_EQ(QStringList({"a", "b", "e", "c", "d"}), Items(used));
    EXPECT_FALSE(Parts().DownButton->isEnabled());
    EXPECT_TRUE(Parts().UpButton->isEnabled());

    // The keyboard selects as the mouse does: item 0 selected takes Up away.
    used.setFocus();
    used.clearSelection();
    used.item(1)->setSelected(true);
    EXPECT_TRUE(Parts().UpButton->isEnabled());
    QTest::keyClick(&used, Qt::Key_Home);
    QTest::keyClick(&used, Qt::Key_Space);
    EXPECT_EQ((std::vector<int>{0, 1}), SelectedRows(used));
    EXPECT_FALSE(Parts().UpButton->isEnabled());

    // Delete drops the items; they do not go to the available list.
    Parts().DeleteButton->click();
    EXPECT_EQ(QStringList({"e", "c", "d"}), Items(used));
    EXPECT_EQ(0, Parts().AvailableBox->count());
    Parts().OKButton->click();
    EXPECT_EQ(mrOk, PartsOfSpeechForm->result());
    EXPECT_EQ("e,c,d;", PartsOfSpeechForm->PartsOfSpeechText());
}

// A separator would split the item in the stored setting, and the loader would throw the whole
// setting away at the next start.
TEST_F(SettingsDialogs, PartsOfSpeechRefuseSeparatorsAndKeepToSixtyFourCharacters)
{
    ASSERT_NO_FATAL_FAILURE(ShowParts("a;b"));
    QLineEdit &edit = *Parts().NewEdit;
    for (const char *text : {"x,y", "x;y"}) {
        edit.setFocus();
        edit.setText(QLatin1String(text));
        Parts().UseButton->click();
        EXPECT_EQ(QStringList{"a"}, Items(*Parts().UsedBox)) << text;
        EXPECT_EQ(QLatin1String(text), edit.selectedText());
        EXPECT_EQ(&edit, PartsOfSpeechForm->focusWidget());
    }
    EXPECT_EQ(2, Beeps);
    EXPECT_TRUE(box.Texts.empty());

    edit.clear();
    QTest::keyClicks(&edit, QString(65, QLatin1Char('p')));
    EXPECT_EQ(64, edit.text().size());
    Parts().UseButton->click();
    EXPECT_EQ(QString(64, QLatin1Char('p')), Items(*Parts().UsedBox).back());
    EXPECT_EQ(Parts().UsedBox, PartsOfSpeechForm->focusWidget());
    EXPECT_TRUE(edit.text().isEmpty());
}

TEST_F(SettingsDialogs, CommaListsAndThePartOfSpeechCombo)
{
    QStringList items{QStringLiteral("old")};
    TPartsOfSpeechForm::AddCommaList(items, "a,,b");
    EXPECT_EQ(QStringList({"a", "", "b"}), items);
    TPartsOfSpeechForm::AddCommaList(items, "a,b,");
    EXPECT_EQ(QStringList({"a", "b"}), items);
    TPartsOfSpeechForm::AddCommaList(items, "");
    EXPECT_TRUE(items.isEmpty());

    QComboBox combo;
    combo.setEditable(true);
    PartsOfSpeech = "zn,ww";
    TPartsOfSpeechForm::FillPartsOfSpeechCombo(combo);
    EXPECT_EQ(0, combo.count());
    PartsOfSpeech = "zn,ww;bn";
    TPartsOfSpeechForm::FillPartsOfSpeechCombo(combo);
    TPartsOfSpeechForm::FillPartsOfSpeechCombo(combo);
    EXPECT_EQ(2, combo.count());
    EXPECT_TRUE(combo.currentText().isEmpty());
}

// The language list sorts as the installer's does, without regard to case.
TEST_F(SettingsDialogs, TheLanguageListSortsWithoutRegardToCase)
{
    const QString pid = QString::number(QCoreApplication::applicationPid());
    for (const QString &name : {QStringLiteral("zulu"), QStringLiteral("deutsch"),
                                QStringLiteral("english"), QStringLiteral("Afrikaans")})
        PutPack(name + pid + QStringLiteral(".lng"), "Tarnwick Language Pack\r\n2\r\n");
    OptionsForm->show();
    EXPECT_EQ((QStringList{QStringLiteral("Afrikaans") + pid, QStringLiteral("deutsch") + pid,
                           QStringLiteral("English"), QStringLiteral("english") + pid,
                           QStringLiteral("Nederlands"), QStringLiteral("zulu") + pid}),
              Items(*Options().LanguageBox));
    EXPECT_EQ(QStringLiteral("Nederlands"), Options().LanguageBox->currentItem()->text());
    OptionsForm->close();
}
