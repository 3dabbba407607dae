#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

// The black keyboard the keyboard tool's key edits sit on, with the captions of the keys that type
// no character.
class TKeyboardShape : public QWidget
{
    Q_OBJECT

public:
    struct TLabel
    {
        QRect Rect;
        QString Text;
    };

    explicit TKeyboardShape(QWidget *parent = nullptr);

    void SetLabels(std::vector<TLabel> labels);
    const std::vector<TLabel> &Labels() const { return labels; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<TLabel> labels;
};
