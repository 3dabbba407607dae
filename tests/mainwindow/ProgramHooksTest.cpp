#include "mainwindow/ProgramHooks.h"
#include "core/Unit_WordList.h"
#include "sound/Unit_ConvertForm.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"

#include <QFile>
#include <gtest/gtest.h>
#include <utility>

TEST(ProgramHooks, AListOfTheOldestFormatOpensWithItsSoundsConvertedToMp3)
{
    TTempFolder temp;
    TFakeFontCatalog fonts;
    TNumberedPack pack;
    TScriptedBox box;
    TConvertForm form;
    TConvertForm *const previousForm = std::exchange(ConvertForm, &form);
    TProgramLoadHooks hooks;
    SetLoadHooks(&hooks);

    const std::string voice = TWavBytes::Canonical(1, 1, 11025, 8, std::string(11025, '\x70'));
    const std::string file = WriteFile(temp.File("old.wdl"),
                                       TListBytes()
                                               .Header(2)
                                               .Record(2, "un", voice)
                                               .Record(2, "deux", "RIFF bad")
                                               .Record(2, "trois")
                                               .Record(2, "quatre", voice)
                                               .Bytes);
    TWordList list;
    const QStringList before = temp.Files();
    bool ok = false;
    int format = 0;
    list.LoadFromFile(file, ok, format);
    SetLoadHooks(nullptr);
    ConvertForm = previousForm;

    EXPECT_TRUE(ok);
    EXPECT_EQ(2, format);
    ASSERT_EQ(4, list.Count());
    // The damaged sound is dropped and said so; the others are MP3 in the new store.
    EXPECT_EQ(std::vector<std::string>{NumberedText(TEntry::ConversionFailed) + "."}, box.Texts);
    EXPECT_EQ(nullptr, list.GetSound(1));
    EXPECT_EQ(nullptr, list.GetSound(2));
    const std::string store = ReadFile(list.SoundTempFile);
    for (int i : {0, 3}) {
        SCOPED_TRACE(i);
        const TSoundRec *sound = list.GetSound(i);
        ASSERT_NE(nullptr, sound);
        const std::string mp3 = store.substr(static_cast<size_t>(sound->Offset),
                                             static_cast<size_t>(sound->Size));
        EXPECT_EQ(std::string("\xFF\xFB", 2), mp3.substr(0, 2));
        // A second of sound at 64 kbit/s.
        EXPECT_NEAR(8000, static_cast<double>(mp3.size()), 800);
    }
    // No scratch file is left behind.
    EXPECT_EQ(before, temp.Files());
}
