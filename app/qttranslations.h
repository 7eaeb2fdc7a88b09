#pragma once

// Qt's own words (the standard context menus of text boxes and panes, the
// buttons of its dialogs) in the user's language, from the translations
// installed with Qt. Without a catalogue for the language nothing changes.
void installQtTranslations();
