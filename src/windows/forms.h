#pragma once

class TFirstForm;
class TKnigaForm;
class TAddRedForm;
class TKodForm;
class TAboutForm;

// The program-wide reference of each secondary window. Whoever creates a
// window sets its reference; the window clears it when it is destroyed.
extern TKodForm *KodForm;
extern TAboutForm *AboutForm;
extern TKnigaForm *KnigaForm;
extern TAddRedForm *AddRedForm;
extern TFirstForm *FirstForm;
