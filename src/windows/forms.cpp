#include "windows/forms.h"

FormReference<TKodForm> KodForm;
FormReference<TAboutForm> AboutForm;
FormReference<TKnigaForm> KnigaForm;
FormReference<TAddRedForm> AddRedForm;
FormReference<TFirstForm> FirstForm;
