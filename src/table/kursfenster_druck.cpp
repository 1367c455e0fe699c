// The course window: printing the course list (menu item "Drucken").

#include "kursfenster.h"

bool Kursfenster::_AblageDrucken_Action()
{
    // The print (page set-up and print dialogs, DruckeDich) is added here with printing.
    return true;
}
