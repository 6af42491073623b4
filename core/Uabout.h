#pragma once

#include <QDialog>

class QLabel;

// The about box: the about picture with the home-page line, a second line and
// "关闭". Borderless, so "关闭" is the mouse's only way out. Opened modally
// by the main window's "关于", destroyed when closed.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    // Sets the home-page line and the second line.
    void FormCreate();
    // Opens the home page; the box stays open.
    void Label1Click();
    // Closes the box.
    void Label3Click();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* picture_;
};
