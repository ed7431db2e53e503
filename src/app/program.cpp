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

template <class Form> void Program::makeAtFirstUse(FormReference<Form> &reference, std::unique_ptr<Form> &owner)
{
    reference.setMaker([&reference, &owner] {
        owner = std::make_unique<Form>();
        reference = owner.get();
    });
}

Program::Program()
{
    platform::setApplicationTitle(TForm1::Caption);
    // The main window decides when the program ends (its close handler).
    QApplication::setQuitOnLastWindowClosed(false);
    form1_ = std::make_unique<TForm1>();
    platform::Form::setMainForm(form1_.get());
    // None of the secondary windows does anything observable at creation:
    // each is made at its first use, and start-up builds the main window alone.
    makeAtFirstUse(KodForm, kodForm_);
    makeAtFirstUse(AboutForm, aboutForm_);
    makeAtFirstUse(KnigaForm, knigaForm_);
    makeAtFirstUse(AddRedForm, addRedForm_);
    makeAtFirstUse(FirstForm, firstForm_);
    workfolder::tellIfNotWritable(QDir::currentPath());
}

Program::~Program()
{
    // Nothing is made while the program ends.
    KodForm.setMaker({});
    AboutForm.setMaker({});
    KnigaForm.setMaker({});
    AddRedForm.setMaker({});
    FirstForm.setMaker({});
}

int Program::run()
{
    form1_->show();
    return QApplication::exec();
}
