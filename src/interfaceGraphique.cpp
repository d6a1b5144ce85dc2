#include "interfaceGraphique.h"
