#include "fechas.h"

#include <cctype>
#include <chrono>
#include <cmath>

#include "formatos.h"
#include "numtext.h"

namespace {

using namespace std::chrono;

constexpr std::int64_t kMsDia = 86400000;

const sys_days kOrigen = sys_days(year(1899) / December / 30);

// Day numbers of 0001-01-01 and of the day after 9999-12-31: the calendar the texts can show.
constexpr std::int64_t kPrimerDia = -693593;
constexpr std::int64_t kDiaTrasUltimo = 2958466;

std::int64_t AMilisegundos(TFechaHora t) {
  // The test is written so that NaN fails it too.
  if (!(t >= static_cast<double>(kPrimerDia - 1) && t <= static_cast<double>(kDiaTrasUltimo))) {
    throw Excepcion("Fecha fuera de rango: " + RealAGeneral(t));
  }
  // Decoding rounds to the nearest millisecond, ties to even.
  const auto ms = static_cast<std::int64_t>(std::nearbyint(t * static_cast<double>(kMsDia)));
  if (ms < kPrimerDia * kMsDia || ms >= kDiaTrasUltimo * kMsDia) {
    throw Excepcion("Fecha fuera de rango: " + RealAGeneral(t));
  }
  return ms;
}

}  // namespace

bool FechaValida(int anio, int mes, int dia) noexcept {
  if (anio < 1 || anio > 9999 || mes < 1 || mes > 12 || dia < 1) return false;
  const year_month_day ymd{year(anio), month(static_cast<unsigned>(mes)),
                           day(static_cast<unsigned>(dia))};
  return ymd.ok();
}

TFechaHora CodificarFecha(int anio, int mes, int dia) {
  if (!FechaValida(anio, mes, dia)) {
    throw Excepcion("Fecha no válida: " + std::to_string(anio) + "-" + std::to_string(mes) + "-" +
                    std::to_string(dia));
  }
  const sys_days d{year(anio) / month(static_cast<unsigned>(mes)) /
                   day(static_cast<unsigned>(dia))};
  return static_cast<TFechaHora>((d - kOrigen).count());
}

TFechaHora CodificarHora(int hora, int minuto, int segundo, int milisegundo) {
  if (hora < 0 || hora > 23 || minuto < 0 || minuto > 59 || segundo < 0 || segundo > 59 ||
      milisegundo < 0 || milisegundo > 999) {
    throw Excepcion("Hora no válida: " + std::to_string(hora) + ":" + std::to_string(minuto) + ":" +
                    std::to_string(segundo));
  }
  const std::int64_t ms = ((hora * 60LL + minuto) * 60LL + segundo) * 1000LL + milisegundo;
  return static_cast<TFechaHora>(ms) / static_cast<TFechaHora>(kMsDia);
}

TFechaHora CodificarFechaHora(const TFechaHoraPartes& p) {
  return CodificarFecha(p.anio, p.mes, p.dia) +
         CodificarHora(p.hora, p.minuto, p.segundo, p.milisegundo);
}

TFechaHoraPartes DecodificarFechaHora(TFechaHora t) {
  const std::int64_t ms = AMilisegundos(t);
  std::int64_t dias = ms / kMsDia;
  std::int64_t resto = ms % kMsDia;
  if (resto < 0) {
    resto += kMsDia;
    --dias;
  }
  const year_month_day ymd{kOrigen + days(dias)};
  TFechaHoraPartes p;
  p.anio = static_cast<int>(ymd.year());
  p.mes = static_cast<int>(static_cast<unsigned>(ymd.month()));
  p.dia = static_cast<int>(static_cast<unsigned>(ymd.day()));
  p.milisegundo = static_cast<int>(resto % 1000);
  resto /= 1000;
  p.segundo = static_cast<int>(resto % 60);
  resto /= 60;
  p.minuto = static_cast<int>(resto % 60);
  p.hora = static_cast<int>(resto / 60);
  return p;
}

TFechaHora RedondearAlMilisegundo(TFechaHora t) {
  return static_cast<TFechaHora>(AMilisegundos(t)) / static_cast<TFechaHora>(kMsDia);
}

std::string FormatearFechaHora(const std::string& patron, TFechaHora t) {
  const TFechaHoraPartes p = DecodificarFechaHora(t);
  const TFormatos& f = FormatosActuales();
  std::string r;
  bool tras_hora = false;  // an m after an h token means minutes
  const std::size_t n = patron.size();
  std::size_t i = 0;
  auto relleno = [](int v, std::size_t ancho) {
    std::string s = std::to_string(v);
    while (s.size() < ancho) s.insert(s.begin(), '0');
    return s;
  };
  while (i < n) {
    const char ch = patron[i];
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    std::size_t run = 1;
    while (i + run < n && std::tolower(static_cast<unsigned char>(patron[i + run])) == c) ++run;
    switch (c) {
      case 'y':
        r += run >= 3 ? relleno(p.anio, 4) : relleno(p.anio % 100, 2);
        tras_hora = false;
        break;
      case 'm':
        if (tras_hora) {
          r += run >= 2 ? relleno(p.minuto, 2) : std::to_string(p.minuto);
          tras_hora = false;
        } else {
          r += run >= 2 ? relleno(p.mes, 2) : std::to_string(p.mes);
        }
        break;
      case 'd':
        r += run >= 2 ? relleno(p.dia, 2) : std::to_string(p.dia);
        tras_hora = false;
        break;
      case 'h':
        r += run >= 2 ? relleno(p.hora, 2) : std::to_string(p.hora);
        tras_hora = true;
        break;
      case 'n':
        r += run >= 2 ? relleno(p.minuto, 2) : std::to_string(p.minuto);
        tras_hora = false;
        break;
      case 's':
        r += run >= 2 ? relleno(p.segundo, 2) : std::to_string(p.segundo);
        tras_hora = false;
        break;
      case 'z':
        r += run >= 3 ? relleno(p.milisegundo, 3) : std::to_string(p.milisegundo);
        tras_hora = false;
        break;
      case '/':
        r.append(run, f.separador_fecha);
        break;
      case ':':
        r.append(run, f.separador_hora);
        break;
      case '\'':
      case '"': {
        const std::size_t fin = patron.find(ch, i + 1);
        const std::size_t hasta = fin == std::string::npos ? n : fin;
        r.append(patron, i + 1, hasta - i - 1);
        i = fin == std::string::npos ? n : fin + 1;
        continue;
      }
      default:
        r.append(patron, i, run);
        break;
    }
    i += run;
  }
  return r;
}

std::string FechaHoraATexto(TFechaHora t) {
  const TFechaHoraPartes p = DecodificarFechaHora(t);
  const TFormatos& f = FormatosActuales();
  std::string r = FormatearFechaHora(f.formato_fecha_corta, t);
  if (p.hora != 0 || p.minuto != 0 || p.segundo != 0 || p.milisegundo != 0) {
    r += ' ';
    r += FormatearFechaHora(f.formato_hora_larga, t);
  }
  return r;
}

std::string FechaCompacta(TFechaHora t) {
  const TFechaHoraPartes p = DecodificarFechaHora(t);
  std::string r = FormatearFechaHora("yyyymmdd", t);
  // Seconds never reach file names: a time of 00:00:30 names the day alone.
  if (p.hora + p.minuto != 0) {
    r += FormatearFechaHora("hhnn", t);
  }
  return r;
}
