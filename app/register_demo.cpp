// Makes ClassMain the program's application. Linked in whole (an object library), so that a
// program only has to link it for the framework's CreateApplication to find the demo.
#include "app/class_main.h"
#include "framework/application_factory.h"

VANE_APPLICATION(ClassMain);
