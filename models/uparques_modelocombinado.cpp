#include "uparques_modelocombinado.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>

#include "errores.h"
#include "formatos.h"
#include "math01.h"
#include "numtext.h"
#include "ubloquestexto.h"
#include "ucurvasaeros.h"

std::unique_ptr<TParque_ModeloCombinado> TParque_ModeloCombinado::CrearDesdeCalibrador(
    const std::string& nombre_clp, std::ostream& salida) {
  std::unique_ptr<TParque_ModeloCombinado> m(new TParque_ModeloCombinado());
  m->FijarSalida(salida);
  std::ifstream f(nombre_clp, std::ios::binary);
  if (!f) throw ExcepcionES("No se puede abrir el archivo " + nombre_clp);
  m->LeerTexto(f, nombre_clp, {});
  f.close();
  m->ConstruirCorreccion();
  return m;
}

std::unique_ptr<TParque_ModeloCombinado> TParque_ModeloCombinado::CrearDesdeCalibrador(
    const std::string& nombre_clp) {
  return CrearDesdeCalibrador(nombre_clp, std::cout);
}

std::unique_ptr<TParque_ModeloCombinado> TParque_ModeloCombinado::CrearDesdeArchivoMC(
    const std::string& nombre_pmc) {
  std::unique_ptr<TParque_ModeloCombinado> m(new TParque_ModeloCombinado());
  std::ifstream f(nombre_pmc, std::ios::binary);
  if (!f) throw ExcepcionES("No se puede abrir el archivo " + nombre_pmc);
  m->LeerTexto(f, nombre_pmc, [&](std::istream& texto) {
    TMatR C(texto);
    // PotenciaMC indexes it by the empirical model's sectors and bins.
    const int NS = m->modelo_empirico->NSectores();
    const int NB = m->modelo_empirico->NBins();
    bool ok = C.n_filas() == NS && C.n_columnas() == NB;
    for (int i = 1; ok && i <= NS; ++i) ok = C.fila(i).n() == NB;
    if (!ok) {
      throw ExcepcionES("Matriz de corrección de " + IntATexto(C.n_filas()) + " x " +
                        IntATexto(C.n_columnas()) + " y el modelo empírico tiene " + IntATexto(NS) +
                        " sectores y " + IntATexto(NB) + " bins");
    }
    m->correccion = std::move(C);
  });
  return m;
}

void TParque_ModeloCombinado::GuardarMC(const std::string& nombre_pmc) const {
  std::string texto = Texto();
  std::ostringstream s;
  {
    const TFormatosNeutros neutros;
    correccion.guardar(s);
  }
  texto += std::move(s).str();
  GrabarArchivoSeguro(nombre_pmc, texto);
}

void TParque_ModeloCombinado::ConstruirCorreccion() {
  TParque_ModeloTeorico& mt = *modelo_teorico;
  const TParque_ModeloEmpirico& me = *modelo_empirico;
  const int NS = me.NSectores();
  const int NB = me.NBins();
  const NReal PAut = mt.potencia_autorizada_mw;
  // 1.
  TMatR cocientes(NS, NB);
  correccion = TMatR(NS, NB);
  for (int r = 1; r <= NS; ++r) {
    for (int b = 1; b <= NB; ++b) correccion.poner(r, b, 1.0);
  }
  // 2.
  std::ostream& salida = Salida();
  for (int r = 1; r <= NS; ++r) {
    salida << "kAng: " << IntATexto(r) << " **********************\n";
    const NReal theta = me.AnguloSector(r);
    mt.PrepararDireccion(theta, false);
    std::string linea;
    for (int b = 1; b <= NB; ++b) {
      linea += IntATexto(b) + ", ";
      if (me.cnt_bin.elemento(r, b) < MinMuestrasCelda) continue;
      const NReal x = me.Pv3Medio.elemento(b);
      NReal peso = 0;
      const NReal P_emp = me.PotenciaBinada(DensidadEstandar, x, theta, peso);
      bool convergido = false;
      NReal pv3_meteo = 0, pv3_libre = 0;
      const NReal P_teo =
          mt.SimularDesdeAnemometro(PAut, x, DensidadEstandar, convergido, pv3_meteo, pv3_libre);
      if (std::fabs(P_teo) > MinPotenciaCelda) cocientes.poner(r, b, P_emp / P_teo);
    }
    salida << linea << "\n";
    salida.flush();
  }
  // 3. cells without a ratio are smoothed in from their neighbours.
  NReal cambio = 0;
  int barridos = 0;
  RellenarHuecos(correccion, cocientes, cambio, barridos, salida);
}

void TParque_ModeloCombinado::PotenciaMC(NReal cgm, NReal rho, NReal dir, NReal v,
                                         NReal& p_con_consigna, NReal& p_sin_consigna) {
  TParque_ModeloTeorico& mt = *modelo_teorico;
  const TParque_ModeloEmpirico& me = *modelo_empirico;
  const NReal PAut = mt.potencia_autorizada_mw;
  // 1.-2.
  const NReal pv3 = PV3(v, rho);
  mt.PrepararDireccion(dir, false);
  // A calm station yields no free-stream or station density to correct with.
  if (pv3 < 1e-10) {
    p_con_consigna = 0;
    p_sin_consigna = 0;
    return;
  }
  bool convergido = false;
  NReal pv3_meteo_simulado = 0, pv3_libre = 0;
  NReal P_a = 0, P_b = 0, d = 0;
  if (cgm >= 0.99 * PAut) {
    // 3. not curtailed: this computation is itself the uncurtailed one.
    P_a = mt.SimularDesdeAnemometro(cgm, pv3, rho, convergido, pv3_meteo_simulado, pv3_libre);
    P_b = P_a;
    d = pv3_meteo_simulado;
  } else {
    // 4. curtailed: the station reading the farm would have given without the set-point.
    P_a = mt.SimularDesdeAnemometro(cgm, pv3, rho, convergido, pv3_meteo_simulado, pv3_libre);
    P_b = mt.Simular(PAut, pv3_libre, rho, d);
  }
  // 5.
  int k1 = 0, k2 = 0;
  NReal w1 = 0, w2 = 0;
  me.PesosSector(dir, k1, k2, w1, w2);
  // 6.
  const TMatR& C = correccion;
  const int NB = C.n_columnas();
  const NReal x = me.Pv3Medio.inv_interpol(d);
  // 7.
  NReal F = 0;
  if (x <= 1) {
    F = w1 * C.elemento(k1, 1) + w2 * C.elemento(k2, 1);
  } else if (x < NB) {
    const int j = TruncToInt(x);
    const NReal t = x - j;
    F = w1 * (C.elemento(k1, j) * (1 - t) + C.elemento(k1, j + 1) * t) +
        w2 * (C.elemento(k2, j) * (1 - t) + C.elemento(k2, j + 1) * t);
  } else {
    F = w1 * C.elemento(k1, NB) + w2 * C.elemento(k2, NB);
  }
  // 8.
  p_con_consigna = P_a * F < PAut ? P_a * F : PAut;
  p_sin_consigna = P_b * F < PAut ? P_b * F : PAut;
}
