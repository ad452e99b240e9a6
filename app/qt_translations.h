#pragma once
// Qt's own texts (the buttons and labels of the file, print and message dialogs, the
// context menus of text fields) in the system locale's language. Qt ships them apart from
// its libraries and loads none by itself, so without this a Russian desk gets «Save» and
// «Look in» beside the program's Russian.

class QCoreApplication;

// Does nothing where no translation of Qt for the locale is installed.
void installQtTranslations(QCoreApplication &application);
