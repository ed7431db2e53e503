#pragma once

#include <memory>

class TForm1;
class TKodForm;
class TAboutForm;
class TKnigaForm;
class TAddRedForm;
class TFirstForm;

// The running program: the application title, the six windows created once
// in their declared order, and the message loop of the main window.
class Program {
public:
    Program();
    ~Program();
    int run();

    TForm1 &mainForm() { return *form1_; }

private:
    // Declared in creation order, destroyed in reverse.
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TKodForm> kodForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    std::unique_ptr<TKnigaForm> knigaForm_;
    std::unique_ptr<TAddRedForm> addRedForm_;
    std::unique_ptr<TFirstForm> firstForm_;
};
