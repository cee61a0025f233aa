#pragma once

#include <gtest/gtest.h>

#include "uparques_modeloteorico.h"

namespace prueba_modelos {

inline void ExpectMismoVector(const TVectR& a, const TVectR& b) {
  ASSERT_EQ(a.n(), b.n());
  for (int k = 1; k <= a.n(); ++k) EXPECT_EQ(a.elemento(k), b.elemento(k)) << "elemento " << k;
}

inline void ExpectMismaCurva(const TCurvaAerogen& a, const TCurvaAerogen& b) {
  EXPECT_EQ(a.nid, b.nid);
  EXPECT_EQ(a.modelo, b.modelo);
  EXPECT_EQ(a.diametro, b.diametro);
  ExpectMismoVector(a.curva_v, b.curva_v);
  ExpectMismoVector(a.curva_P, b.curva_P);
}

// Every value a model keeps in its file or its rows, compared exactly.
inline void ExpectMismoModelo(const TParque_ModeloTeorico& a, const TParque_ModeloTeorico& b,
                              bool con_cota = true) {
  EXPECT_EQ(a.nid_central, b.nid_central);
  EXPECT_EQ(a.nid_modelo_teorico, b.nid_modelo_teorico);
  EXPECT_EQ(a.nombre, b.nombre);
  EXPECT_EQ(a.n_sectores_dir, b.n_sectores_dir);
  EXPECT_EQ(a.alfa_terreno, b.alfa_terreno);
  EXPECT_EQ(a.gamma_atmosfera, b.gamma_atmosfera);
  EXPECT_EQ(a.fpv3pe, b.fpv3pe);
  EXPECT_EQ(a.factor_perdidas, b.factor_perdidas);
  EXPECT_EQ(a.potencia_autorizada_mw, b.potencia_autorizada_mw);
  EXPECT_EQ(a.potencia_nominal, b.potencia_nominal);
  ExpectMismoVector(a.meteo_etha, b.meteo_etha);
  EXPECT_EQ(a.grilla_rotada_dx, b.grilla_rotada_dx);
  EXPECT_EQ(a.grilla_rotada_dy, b.grilla_rotada_dy);
  EXPECT_EQ(a.grilla_rotada_margen_dx, b.grilla_rotada_margen_dx);
  EXPECT_EQ(a.meteo_utm_zona, b.meteo_utm_zona);
  EXPECT_EQ(a.meteo_utm_huso, b.meteo_utm_huso);
  EXPECT_EQ(a.meteo_utm_xe, b.meteo_utm_xe);
  EXPECT_EQ(a.meteo_utm_yn, b.meteo_utm_yn);
  if (con_cota) {
    EXPECT_EQ(a.meteo_cota, b.meteo_cota);
  }
  ASSERT_EQ(a.n_molinos(), b.n_molinos());
  for (std::size_t i = 0; i < a.molinos.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "molino " << i + 1);
    const TMolino& ma = *a.molinos[i];
    const TMolino& mb = *b.molinos[i];
    EXPECT_EQ(ma.nid, mb.nid);
    EXPECT_EQ(ma.nid_curvaaero, mb.nid_curvaaero);
    EXPECT_EQ(ma.nidcentral, mb.nidcentral);
    EXPECT_EQ(ma.etha, mb.etha);
    EXPECT_EQ(ma.posicion.dx, mb.posicion.dx);
    EXPECT_EQ(ma.posicion.dy, mb.posicion.dy);
    EXPECT_EQ(ma.posicion.huso_utm, mb.posicion.huso_utm);
    EXPECT_EQ(ma.posicion.zona_utm, mb.posicion.zona_utm);
    EXPECT_EQ(ma.posicion.xe, mb.posicion.xe);
    EXPECT_EQ(ma.posicion.yn, mb.posicion.yn);
    ExpectMismaCurva(*ma.curva, *mb.curva);
  }
}

}  // namespace prueba_modelos
