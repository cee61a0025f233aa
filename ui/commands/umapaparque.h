#pragma once

#include <memory>

#include "lienzo.h"
#include "uparques_modeloteorico.h"

// Size of the map's paint boxes and the height of the colour bar above the field.
inline constexpr int kAnchoMapa = 978;
inline constexpr int kAltoMapa = 616;
inline constexpr int kAltoBarraColores = 30;
// Ends of the map's speed scale (m/s).
inline constexpr NReal kVelocidadMinimaMapa = 4;
inline constexpr NReal kVelocidadMaximaMapa = 10;

// Draws the wind field left by the model's last simulation on the canvas: the colour bar with its
// ticks and texts in the top 30 pixels, below it every pixel coloured by the wind speed at that
// place (white outside the grid, or everywhere when no direction was prepared), and "(A)" at the
// station. Fits the model's map to the canvas first. Without a model, or on a canvas with no room
// for the field, nothing is drawn.
void VelocidadesMT_To_PB(TParque_ModeloTeorico* modelo, TLienzo& pb);

// A new canvas of the given size with the model's map drawn on it.
std::unique_ptr<TLienzo> DibujarMapaParque(TParque_ModeloTeorico& modelo, int ancho = kAnchoMapa,
                                           int alto = kAltoMapa);

// A copy of the rectangle from (x1, y1) to (x2, y2), both corners included; parts outside the
// source stay white. Nothing when the rectangle has no width or height.
std::unique_ptr<TLienzo> CopiarRegion(const TLienzo& origen, int x1, int y1, int x2, int y2);
