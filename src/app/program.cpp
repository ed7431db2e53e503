#include "app/program.h"

#include "app/form1.h"
#include "app/workfolder.h"
#include "platform/application.h"
#include "windows/aboutform.h"
#include "windows/addredform.h"
#include "windows/firstform.h"
#include "windows/forms.h"
#include "windows/knigaform.h"
#include "windows/kodform.h"

#include <QApplication>
#include <QDir>

Program::Program()
{
    platform::setApplicationTitle(TForm1::Caption);
    // The main window decides when the program ends (its close handler).
    QApplication::setQuitOnLastWindowClosed(false);
    form1_ = std::make_unique<TForm1>();
    platform::Form::setMainForm(form1_.get());
    kodForm_ = std::make_unique<TKodForm>();
    KodForm = kodForm_.get();
    aboutForm_ = std::make_unique<TAboutForm>();
    AboutForm = aboutForm_.get();
    knigaForm_ = std::make_unique<TKnigaForm>();
    KnigaForm = knigaForm_.get();
    addRedForm_ = std::make_unique<TAddRedForm>();
    AddRedForm = addRedForm_.get();
    firstForm_ = std::make_unique<TFirstForm>();
    FirstForm = firstForm_.get();
    workfolder::tellIfNotWritable(QDir::currentPath());
}

Program::~Program() = default;

int Program::run()
{
    form1_->show();
    return QApplication::exec();
}
