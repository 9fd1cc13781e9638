#pragma once

class QWidget;

// Opens the help at its welcome page in the current language, in a help window that belongs to
// `window`; any language other than German and English opens nothing.
void ShowHelp(QWidget& window);
