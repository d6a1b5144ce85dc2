#include "gestionEvent.h"
