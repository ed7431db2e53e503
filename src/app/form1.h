#pragma once

#include "data/datasource.h"
#include "data/query.h"
#include "platform/form.h"

class ImageList;
class QLabel;
class QLineEdit;
class QStatusBar;
class TFlatSpeedButton;
class TSideBar;
class TSideBarItem;
class TZipExtractor;
namespace grid {
class TDBGridEx;
class TDBNavigator;
}
namespace windows {
class BevelPanel;
}

// The main window: the side menu, the directory search and its results, and
// the directory archive's life cycle.
class TForm1 : public platform::Form {
    Q_OBJECT
public:
    // The main window's caption, and the program's title on its message boxes.
    static inline const QString Caption = QStringLiteral("Телефонный справочник // Версия 1.00");

    TForm1();
    ~TForm1() override;

    TSideBar *SideBar;
    ImageList *imgLarge;
    QWidget *Panel1;
    QWidget *Panel2;
    QLabel *Label6;
    windows::BevelPanel *Panel4;
    QLabel *Label1, *Label2, *Label3;
    QLineEdit *Edit1, *Edit2, *Edit3;
    TFlatSpeedButton *FlatSpeedButton1, *FlatSpeedButton2;
    grid::TDBGridEx *DBGridEx1, *DBGridEx2;
    grid::TDBNavigator *DBNavigator1;
    QStatusBar *StatusBar1;
    data::Query Query1;
    data::DataSource DataSource1;
    TZipExtractor *ZipExtractor1;

    void FormCreate();
    void FormActivate() override;
    void FormClose(platform::CloseAction &action) override;
    void FormKeyDown(int &key, Qt::KeyboardModifiers shift) override;

    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();
    void Edit1KeyPress(QChar &key);
    void Edit2KeyPress(QChar &key);
    void Edit3KeyPress(QChar &key);
    void SideBarItemClick(TSideBar &sender, TSideBarItem *item);

    // True while the activation's unpack step runs, the archive's report box
    // included; a nested activation then leaves the archive alone.
    bool unpacking() const { return unpacking_; }

private:
    void createSideMenu();
    void createSearchPanel();
    void createResultGrids();
    void leave();

    bool unpacking_ = false;
    bool exitAfterUnpack_ = false;
};

extern TForm1 *Form1;
