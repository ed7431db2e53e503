#pragma once

#include <functional>
#include <utility>

class TFirstForm;
class TKnigaForm;
class TAddRedForm;
class TKodForm;
class TAboutForm;

// The program-wide reference of a secondary window. Whoever creates a window
// sets its reference; the window clears it when it is destroyed. Given a
// maker, the reference makes its window at the first use, so that start-up
// builds only what the first paint of the main window needs.
template <class Form> class FormReference {
public:
    FormReference &operator=(Form *form)
    {
        form_ = form;
        return *this;
    }
    void setMaker(std::function<void()> make) { make_ = std::move(make); }

    Form *get()
    {
        if (!form_ && make_)
            make_();
        return form_;
    }
    Form *operator->() { return get(); }
    Form &operator*() { return *get(); }
    operator Form *() { return get(); }

    // The window if it has been made, without making it.
    Form *existing() const { return form_; }

private:
    Form *form_ = nullptr;
    std::function<void()> make_;
};

extern FormReference<TKodForm> KodForm;
extern FormReference<TAboutForm> AboutForm;
extern FormReference<TKnigaForm> KnigaForm;
extern FormReference<TAddRedForm> AddRedForm;
extern FormReference<TFirstForm> FirstForm;
