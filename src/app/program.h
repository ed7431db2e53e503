#pragma once

#include <memory>

template <class Form> class FormReference;

class TForm1;
class TKodForm;
class TAboutForm;
class TKnigaForm;
class TAddRedForm;
class TFirstForm;

// The running program: the application title, the main window, the five
// secondary windows each made once at its first use, and the message loop of
// the main window.
class Program {
public:
    Program();
    ~Program();
    int run();

    TForm1 &mainForm() { return *form1_; }

private:
    template <class Form> static void makeAtFirstUse(FormReference<Form> &reference, std::unique_ptr<Form> &owner);

    // Destroyed in the reverse order of declaration.
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TKodForm> kodForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    std::unique_ptr<TKnigaForm> knigaForm_;
    std::unique_ptr<TAddRedForm> addRedForm_;
    std::unique_ptr<TFirstForm> firstForm_;
};
