#pragma once

#include "platform/form.h"

class QLabel;
class QListWidget;

// The twelve emergency and public services of the town with their numbers,
// departments and addresses.
class TFirstForm : public platform::Form {
    Q_OBJECT
public:
    explicit TFirstForm(QWidget *parent = nullptr);
    ~TFirstForm() override;

    QWidget *Panel2;
    QLabel *Label7;
    QListWidget *ListBox1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;

    void FormActivate() override;
    void ListBox1Click();
};
