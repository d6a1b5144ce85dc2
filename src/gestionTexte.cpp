#include "gestionTexte.h"
