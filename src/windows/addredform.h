#pragma once

#include "platform/form.h"

#include <array>

class QLabel;
class QLineEdit;
class TFlatSpeedButton;

namespace windows {
class BevelPanel;
}

// The editor of one phone book record. The phone book sets the mode on
// Panel1->Tag (0 add, 1 edit) and the caption before showing it; the editor
// writes into the phone book's table.
class TAddRedForm : public platform::Form {
    Q_OBJECT
public:
    enum Mode { AddMode = 0, EditMode = 1 };

    explicit TAddRedForm(QWidget *parent = nullptr);
    ~TAddRedForm() override;

    windows::BevelPanel *Panel1;
    QLabel *Label1, *Label2, *Label3, *Label4;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4;
    TFlatSpeedButton *FlatSpeedButton2; // "ОК"
    TFlatSpeedButton *FlatSpeedButton1; // "Закрыть"

    void FormActivate() override;
    void FlatSpeedButton2Click();
    void FlatSpeedButton1Click();
    // Shared by the four edits: Enter stores the record.
    void Edit1KeyPress(QChar &key);

private:
    void storeRecord(int mode);
    std::array<QLineEdit *, 4> edits() const { return {Edit1, Edit2, Edit3, Edit4}; }
};
