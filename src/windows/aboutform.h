#pragma once

#include "platform/form.h"

class QLabel;
class TFlatPanel;
class TFlatSpeedButton;

namespace windows {
class ClickableLabel;
class TopLineBevel;
} // namespace windows

// The program's name, version, makers and two links.
class TAboutForm : public platform::Form {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget *parent = nullptr);
    ~TAboutForm() override;

    TFlatPanel *FlatPanel2;
    QLabel *Image1;
    QLabel *Label9, *Label10, *Label11;
    windows::TopLineBevel *Bevel1;
    QLabel *Label1, *Label7, *Label5, *Label6;
    windows::ClickableLabel *Label4, *Label2;
    QLabel *Label3;
    TFlatSpeedButton *FlatSpeedButton1;

    void Label4Click();
    void Label2Click();
    void FlatSpeedButton1Click();

protected:
    void showEvent(QShowEvent *event) override;
};
