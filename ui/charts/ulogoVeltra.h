#pragma once

#include "lienzo.h"

// The program's small logo: four coloured squares and the name, its top left near (x, y). Leaves
// the canvas font at size 8.
void DibujarLogoVeltra(TLienzo& lienzo, int x, int y);
