#include "platform/ButtonKeys.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <initializer_list>

namespace {

// The rule as the application object installs it, for the lifetime of the object.
class EnterKey : public ::testing::Test
{
protected:
    void SetUp() override { qApp->installEventFilter(&Rule); }
    void TearDown() override { qApp->removeEventFilter(&Rule); }

    TEnterPressesButtons Rule;
};

} // namespace

TEST_F(EnterKey, PressesTheFocusedButtonOfAWindowThatIsNoDialog)
{
    QMainWindow window;
    auto *button = new QPushButton(QStringLiteral("Verder"), &window);
    window.setCentralWidget(button);
    window.show();
    button->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_EQ(button, QApplication::focusWidget());
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(1, clicked.count());
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(2, clicked.count());
    // With a modifier the key stays a shortcut; a disabled button is not pressed.
    QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(button, Qt::Key_Return, Qt::AltModifier);
    button->setEnabled(false);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(2, clicked.count());
}

TEST_F(EnterKey, PressesTheFocusedButtonRatherThanTheDialogsDefault)
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *edit = new QLineEdit(&dialog);
    auto *yes = new QPushButton(QStringLiteral("Ja"), &dialog);
    auto *no = new QPushButton(QStringLiteral("Nee"), &dialog);
    for (QWidget *control : std::initializer_list<QWidget *>{edit, yes, no})
        layout->addWidget(control);
    for (QPushButton *button : {yes, no})
        button->setAutoDefault(false);
    yes->setDefault(true);
    QSignalSpy yesClicked(yes, &QPushButton::clicked);
    QSignalSpy noClicked(no, &QPushButton::clicked);
    dialog.show();
    no->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(1, noClicked.count());
    EXPECT_EQ(0, yesClicked.count());
    EXPECT_TRUE(dialog.isVisible());
    // Enter in an editor is left to the dialog, which presses its default.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(1, yesClicked.count());
    EXPECT_EQ(1, noClicked.count());
}
