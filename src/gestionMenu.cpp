#include "gestionMenu.h"
