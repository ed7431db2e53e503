#include "windows/forms.h"

TKodForm *KodForm = nullptr;
TAboutForm *AboutForm = nullptr;
TKnigaForm *KnigaForm = nullptr;
TAddRedForm *AddRedForm = nullptr;
TFirstForm *FirstForm = nullptr;
