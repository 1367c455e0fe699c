// The course window: exchange of grade rows with the clipboard (menu items "Kopieren" and
// "Einfügen" while the grade table has the focus).

#include "kursfenster.h"

bool Kursfenster::_EditCopySpezial_Action()
{
    // The copy of the selected rows is added here with the clipboard exchange.
    return true;
}

bool Kursfenster::_EditPasteSpezial_Action()
{
    // The paste into the entry columns (each field through SpalteOK) is added here with the
    // clipboard exchange.
    return true;
}
