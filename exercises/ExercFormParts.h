#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <string>

class QTextEdit;
struct TListFont;

namespace Ui {
class TExercSetForm;
class TExercStartForm;
} // namespace Ui

// What the exercise window's files share: the memos' texts and fonts, and the choices of the
// start and options dialogs, read at the moment of use.
namespace ExercFormParts {

inline const QColor RightAnswerColour(0, 128, 0);
inline const QColor WrongAnswerColour(255, 0, 0);

int CodePageOf(const TListFont *font);
QString FontText(const std::string &bytes, const TListFont *font);
QFont OwnSize(const TListFont *font);
QFont TwiceTheSize(const TListFont *font);
// Appends a centred line; colour invalid keeps the memo's own text colour.
void AddMemoLine(QTextEdit &memo, const QFont &font, const QColor &colour, const QString &line,
                 bool first);
void FillMemo(QTextEdit &memo, const QFont &font, const QColor &colour, const QStringList &lines);

Ui::TExercStartForm &StartChoices();
Ui::TExercSetForm &SoundChoices();
bool OpenQuestions();
int TestQuestions();

} // namespace ExercFormParts
