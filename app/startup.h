#pragma once

class VardoApp;

// The process's own set-up, once the application object exists: large
// blocks given back to the system when freed, the widgets' fonts and
// accessibility, Qt's own words in the user's language, and a menu opened
// by its key kept open against that key's late Alt press.
void setUpProcess();

// What main() does between creating the application and running its event
// loop: sets the process up and opens the exam window.
void startProgram(VardoApp &vardo);
