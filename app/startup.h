#pragma once

class VardoApp;

// Before the application object exists. Qt looks for plugins in the
// program's folder too, found by a decoded name; for a name that is not
// UTF-8 it finds none and takes the current folder instead, and would load
// a plugin found there. The program opens nothing by a relative name, so it
// then works from its own folder.
void enterUnnamedProgramFolder();

// The process's own set-up, once the application object exists: large
// blocks given back to the system when freed, the widgets' fonts and
// accessibility, Qt's own words in the user's language, and a menu opened
// by its key kept open against that key's late Alt press.
void setUpProcess();

// What main() does between creating the application and running its event
// loop: sets the process up and opens the exam window.
void startProgram(VardoApp &vardo);
