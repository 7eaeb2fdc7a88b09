#pragma once

class VardoApp;

// What main() does between creating the application and running its event
// loop: sets up the platform layer, puts Qt's own words in the user's
// language and opens the exam window.
void startProgram(VardoApp &vardo);
