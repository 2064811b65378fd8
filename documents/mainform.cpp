#include "mainform.h"

MainForm *mainForm = nullptr;
