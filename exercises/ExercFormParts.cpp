#include "exercises/ExercFormParts.h"

#include "core/ListFont.h"
#include "core/Texts.h"
#include "core/Unit_Charsets.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "platform/CodePage.h"
#include "ui_ExercSetForm.h"
#include "ui_ExercStartForm.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace ExercFormParts {

int CodePageOf(const TListFont *font)
{
    return CodePage::ForCharset(font ? font->Charset : DEFAULT_CHARSET);
}

QString FontText(const std::string &bytes, const TListFont *font)
{
    return DecodeText(bytes, CodePageOf(font));
}

QFont OwnSize(const TListFont *font)
{
    return font ? font->toQFont() : QFont();
}

QFont TwiceTheSize(const TListFont *font)
{
    QFont result = OwnSize(font);
    if (font && font->Size > 0)
        result.setPointSize(2 * font->Size);
    return result;
}

void AddMemoLine(QTextEdit &memo, const QFont &font, const QColor &colour, const QString &line,
                 bool first)
{
    QTextCursor cursor(memo.document());
    cursor.movePosition(QTextCursor::End);
    if (!first)
        cursor.insertBlock();
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(block);
    QTextCharFormat chars;
    chars.setFont(font);
    if (colour.isValid())
        chars.setForeground(colour);
    cursor.setBlockCharFormat(chars);
    cursor.insertText(line, chars);
}

void FillMemo(QTextEdit &memo, const QFont &font, const QColor &colour, const QStringList &lines)
{
    memo.clear();
    for (qsizetype i = 0; i < lines.size(); ++i)
        AddMemoLine(memo, font, colour, lines[i], i == 0);
}

Ui::TExercStartForm &StartChoices()
{
    return *ExercStartForm->ui;
}

Ui::TExercSetForm &SoundChoices()
{
    return *ExercSetForm->ui;
}

bool OpenQuestions()
{
    return StartChoices().OpenRadio->isChecked();
}

int TestQuestions()
{
    return StartChoices().NumberEdit->text().toInt();
}

} // namespace ExercFormParts
