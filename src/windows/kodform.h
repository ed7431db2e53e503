#pragma once

#include "data/datasource.h"
#include "data/query.h"
#include "platform/form.h"

class QLabel;
class QLineEdit;
class TDBComboBoxEx;
class TFlatSpeedButton;

namespace grid {
class TDBGridEx;
class TDBNavigator;
}
namespace windows {
class GroupBox;
}

// Long-distance dialing codes from "kod.db": every locality of a region, or
// the localities whose names begin with the typed letters.
class TKodForm : public platform::Form {
    Q_OBJECT
public:
    explicit TKodForm(QWidget *parent = nullptr);
    ~TKodForm() override;

    data::Query Query1; // by region
    data::Query Query2; // by locality
    data::DataSource DataSource1{&Query1};
    data::DataSource DataSource2{&Query2};

    windows::GroupBox *GroupBox1;
    QLabel *Label1;
    TDBComboBoxEx *DBComboBoxEx1;
    TFlatSpeedButton *FlatSpeedButton1; // "Показать"
    grid::TDBGridEx *DBGridEx1;
    grid::TDBNavigator *DBNavigator1;

    windows::GroupBox *GroupBox2;
    QLabel *Label2, *Label3;
    QLineEdit *Edit1;
    TFlatSpeedButton *FlatSpeedButton2; // "Искать"
    TFlatSpeedButton *FlatSpeedButton3; // "Очистить"
    grid::TDBGridEx *DBGridEx2;
    grid::TDBNavigator *DBNavigator2;

    windows::GroupBox *GroupBox3;
    QLabel *Label4, *Label6, *Label7, *Label8;

    void FormActivate() override;
    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();
    void FlatSpeedButton3Click();
    void Edit1KeyPress(QChar &key);

private:
    void createRegionSearch();
    void createLocalitySearch();
    void createNote();
};
