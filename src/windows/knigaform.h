#pragma once

#include "data/datasource.h"
#include "data/table.h"
#include "platform/form.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class TFlatSpeedButton;

namespace grid {
class TDBGridEx;
class TDBNavigator;
}
namespace windows {
class BevelPanel;
}

// The user's own phone book "basamy.db": a grid of the records, a search by
// name while it is typed, and add, delete, edit and delete-all.
class TKnigaForm : public platform::Form {
    Q_OBJECT
public:
    explicit TKnigaForm(QWidget *parent = nullptr);
    ~TKnigaForm() override;

    data::Table Table1;
    data::DataSource DataSource1{&Table1};

    windows::BevelPanel *Panel1;
    TFlatSpeedButton *FlatSpeedButton1; // add
    TFlatSpeedButton *FlatSpeedButton2; // delete
    TFlatSpeedButton *FlatSpeedButton3; // edit
    TFlatSpeedButton *FlatSpeedButton4; // delete all
    QLabel *Label1;
    QLineEdit *Edit1;
    TFlatSpeedButton *FlatSpeedButton5; // clear the search
    windows::BevelPanel *Panel2;
    grid::TDBGridEx *DBGridEx1;
    grid::TDBNavigator *DBNavigator1;
    QMenu *PopupMenu1;
    QAction *gfhfg1, *fghfgh1, *N1, *N2, *N3;

    // The next activation's reopen returns to the current record, not the
    // first: the editor's stored record stays the one shown.
    void returnToCurrentRecord();
    void FormActivate() override;
    void Edit1Change();
    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();
    void FlatSpeedButton3Click();
    void FlatSpeedButton4Click();
    void FlatSpeedButton5Click();
    void gfhfg1Click();
    void fghfgh1Click();
    void N1Click();
    void N3Click();

    // Delete, edit and delete-all: usable only while there are records.
    void setRecordButtonsEnabled(bool enabled);

private:
    int returnTo_ = 0; // record number for the next reopen, 0 the first
    bool openBook();
    bool bookAvailable();
    void sayBookIsBusy(const QString &reason);
    void createGrid();
    void createPopupMenu();
    void clearSearch();
    void showEditor(int mode, const QString &caption);
};
