#pragma once

class VardoApp;

// Before the application object exists: the folders Qt looks for plugins
// in, its own, QT_PLUGIN_PATH's and the program's. Qt finds the program's
// by a decoded name, which for a name that is not UTF-8 is the current
// folder instead, and it would load a plugin found there.
void setPluginFolders();

// The process's own set-up, once the application object exists: large
// blocks given back to the system when freed, the widgets' fonts and
// accessibility, Qt's own words in the user's language, and a menu opened
// by its key kept open against that key's late Alt press.
void setUpProcess();

// What main() does between creating the application and running its event
// loop: sets the process up and opens the exam window.
void startProgram(VardoApp &vardo);
