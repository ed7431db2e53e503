#pragma once

// Drives the unzip library the way the component does: loaded at run time,
// one parameter record, a call-back that records every call and answers
// from a script.
#include "unzlib.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

struct Call {
    int action;
    int error;
    int size;
    std::string text;
};

class UnzLibDriver {
public:
    UnzLibDriver()
    {
        const QByteArray path = QFile::encodeName(QCoreApplication::applicationDirPath() + "/libunzlib.so");
        handle_ = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle_, nullptr) << dlerror();
        if (handle_)
            exec_ = reinterpret_cast<UnzLibExecFn>(dlsym(handle_, "UnzLibExec"));
    }
    ~UnzLibDriver()
    {
        if (handle_)
            dlclose(handle_);
    }
    void *symbol(const char *name) const { return dlsym(handle_, name); }

    // Runs one extraction of the archive into dir; specs are the file specs.
    int run(const QString &archive, const QString &dir, const std::vector<std::string> &specs = {})
    {
        calls.clear();
        const QByteArray archiveName = QFile::encodeName(archive);
        const QByteArray dirName = QFile::encodeName(dir);
        std::vector<UnzipFileSpec> specArray(specs.size());
        for (std::size_t i = 0; i < specs.size(); ++i)
            specArray[i].fileSpec = specs[i].c_str();
        UnzipParams p{};
        p.caller = this;
        p.version = 173;
        p.callback = &UnzLibDriver::entry;
        p.password = password.c_str();
        p.testFlag = test ? -1 : 0;
        p.verboseFlag = -1;
        p.updateFlag = update ? -1 : 0;
        p.freshenFlag = freshen ? -1 : 0;
        p.directoryNamesFlag = folders ? -1 : 0;
        p.overwriteFlag = overwrite ? -1 : 0;
        p.fileSpecCount = int(specs.size());
        p.archiveName = archiveName.constData();
        p.fileSpecs = specArray.empty() ? nullptr : specArray.data();
        p.passwordRequestCount = passwordRequests;
        p.extractDirectory = dir.isEmpty() ? nullptr : dirName.constData();
        p.endMarker = 7;
        return exec_(&p);
    }

    std::vector<Call> callsOf(int action) const
    {
        std::vector<Call> out;
        for (const Call &c : calls)
            if (c.action == action)
                out.push_back(c);
        return out;
    }

    // Settings of the next run.
    bool overwrite = true, folders = false, freshen = false, update = false, test = false;
    std::string password;
    int passwordRequests = 1;
    // Answers a call-back by editing the record; returns not 0 to abort.
    std::function<int(CallbackRecord &)> answer;
    std::vector<Call> calls;

private:
    static int32_t entry(CallbackRecord *r)
    {
        auto *self = static_cast<UnzLibDriver *>(r->caller);
        self->calls.push_back({r->actionCode, r->errorCode, r->size, r->text});
        return self->answer ? self->answer(*r) : 0;
    }

    void *handle_ = nullptr;
    UnzLibExecFn exec_ = nullptr;
};

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

inline void writeAll(const QString &path, const std::string &bytes)
{
    writeAll(path, QByteArray::fromStdString(bytes));
}

// Files in a folder, hidden ones (temporary files) included.
inline QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
