#pragma once

// Shared set-up of the archive component tests: a temporary folder, archives
// built there, and every message box and password dialog answered here.
#include "archive/passworddlg.h"
#include "archive/zipextractor.h"
#include "archive/zipmessagetable.h"
#include "platform/messagebox.h"
#include "support/testfiles.h"
#include "zipwriter/zipwriter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <deque>

// What a report shows: the message table's text and the extra text.
inline QString reportText(int id, const QString &extra = {})
{
    return messageTableText(id) + extra;
}

// What an exception's report shows: the table text with its argument.
inline QString exceptionText(int id, const QString &argument = {})
{
    return messageTableText(id).replace("%s", argument);
}

inline zipwriter::Entry member(const std::string &name, const std::string &data)
{
    zipwriter::Entry e;
    e.name = name;
    e.data = data;
    return e;
}

// True while the process has the library at that path loaded.
inline bool libraryLoaded(const QString &path)
{
    void *h = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (h)
        dlclose(h);
    return h != nullptr;
}

// Answers password dialogs in the order they appear.
class PasswordAnswers {
public:
    struct Answer {
        QString text;
        TPasswordDlg::Button button;
    };
    struct Seen {
        QString caption;
        QString prompt;
        int width;
        int buttons;
    };
    PasswordAnswers()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }
    void add(const QString &text, TPasswordDlg::Button button) { answers_.push_back({text, button}); }
    std::vector<Seen> seen;

private:
    void poll()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *dlg = qobject_cast<TPasswordDlg *>(w);
            if (!dlg || !dlg->isVisible() || answers_.empty())
                continue;
            int buttons = 0;
            for (auto b :
                 {TPasswordDlg::pbOk, TPasswordDlg::pbCancel, TPasswordDlg::pbCancelAll, TPasswordDlg::pbAbort})
                buttons += dlg->button(b) ? 1 : 0;
            seen.push_back({dlg->windowTitle(), dlg->promptLabel()->text(), dlg->width(), buttons});
            const Answer a = answers_.front();
            answers_.pop_front();
            dlg->edit()->setText(a.text);
            dlg->button(a.button)->click();
        }
    }
    std::deque<Answer> answers_;
    QTimer timer_;
};

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::setMessageAnswerer([this](const platform::ShownMessage &m) {
            boxes << m.text;
            return int(platform::idOk);
        });
        QDir().mkpath(out);
    }
    void TearDown() override { platform::setMessageAnswerer({}); }

    QString build(const std::vector<zipwriter::Entry> &entries, const std::string &comment = {},
                  const std::string &before = {}, const std::string &after = {})
    {
        zipwriter::Writer w;
        for (const auto &e : entries)
            w.add(e);
        writeAll(archive, QByteArray::fromStdString(before + w.finish(comment) + after));
        return archive;
    }
    // The program's own settings, extracting into `out`.
    void programSettings()
    {
        zip.setTrace(true);
        zip.setFSpecArgs(QStringList{"*.*"});
        zip.setExtrOptions(ExtrOverWrite);
        zip.setExtrBaseDir(out);
    }

    QTemporaryDir tmp;
    QString archive = tmp.path() + "/basa.tel";
    QString out = tmp.path() + "/out";
    QStringList boxes;
    TZipExtractor zip;
};
