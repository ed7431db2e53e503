#pragma once

// Drives the unzip library the way the component does: loaded at run time,
// one parameter record, a call-back that records every call and answers
// from a script.
#include "testfiles.h"
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
    // Answers only call-backs of one action code.
    void answerOn(int action, std::function<void(CallbackRecord &)> edit)
    {
        answer = [action, edit](CallbackRecord &r) {
            if (r.actionCode == action)
                edit(r);
            return 0;
        };
    }
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

