#include "uFormatosQt.h"

#include <QStringDecoder>
#include <cstdlib>

namespace {

// One ASCII character, or the default: the settings hold single bytes.
char UnCaracter(const QString& s, char defecto) {
  if (s.size() != 1 || s.at(0).unicode() >= 0x80 || s.at(0).unicode() == 0) return defecto;
  return static_cast<char>(s.at(0).unicode());
}

// Qt's date/time pattern in the system's letters: M->m, m->n, H->h; AM/PM and zones dropped.
std::string PatronDeQt(const QString& qt, bool es_hora) {
  QString p = qt;
  p.remove(QStringLiteral("(t)"));
  std::string r;
  bool literal = false;
  for (const QChar c : p) {
    const char16_t u = c.unicode();
    if (u == u'\'') {
      literal = !literal;
      continue;
    }
    if (literal) {
      if (u < 0x80) r += static_cast<char>(u);
      continue;
    }
    switch (u) {
      case u'M':
        r += 'm';
        break;
      case u'm':
        r += 'n';
        break;
      case u'H':
        r += 'h';
        break;
      case u't':
      case u'A':
      case u'a':
      case u'P':
      case u'p':
        break;
      default:
        if (u < 0x80) r += static_cast<char>(u);
        break;
    }
  }
  while (!r.empty() && r.back() == ' ') r.pop_back();
  while (!r.empty() && r.front() == ' ') r.erase(r.begin());
  if (r.empty()) r = es_hora ? "hh:nn:ss" : "dd/mm/yyyy";
  return r;
}

char PrimerSeparador(const std::string& patron, const char* letras, char defecto) {
  for (char ch : patron) {
    if (std::string_view(letras).find(ch) == std::string_view::npos) return ch;
  }
  return defecto;
}

}  // namespace

TFormatos FormatosDeQLocale(const QLocale& locale) {
  TFormatos f;
  f.separador_decimal = UnCaracter(locale.decimalPoint(), '.');
  f.separador_miles = UnCaracter(locale.groupSeparator(), ' ');
  f.formato_fecha_corta = PatronDeQt(locale.dateFormat(QLocale::ShortFormat), false);
  f.formato_fecha_larga = PatronDeQt(locale.dateFormat(QLocale::LongFormat), false);
  f.formato_hora_larga = PatronDeQt(locale.timeFormat(QLocale::LongFormat), true);
  f.separador_fecha = PrimerSeparador(f.formato_fecha_corta, "dmy", '/');
  f.separador_hora = PrimerSeparador(f.formato_hora_larga, "hns", ':');
  return f;
}

TFormatos FormatosDelEscritorio() {
  if (const char* v = std::getenv("VELTRA_FORMATOS"); v != nullptr && v[0] != '\0') {
    return FormatosDelEntorno();
  }
  return FormatosDeQLocale(QLocale::system());
}

QString PatronFechaQt(const TFormatos& f) {
  // A date edit always shows four-digit years: two would leave the century to guesswork.
  std::string patron = f.formato_fecha_corta;
  if (patron.find("yyyy") == std::string::npos) {
    if (const std::size_t i = patron.find("yy"); i != std::string::npos)
      patron.replace(i, 2, "yyyy");
  }
  QString r;
  for (char ch : patron) {
    if (ch == 'm') {
      r += QLatin1Char('M');
    } else if (ch == '/') {
      r += QLatin1Char(f.separador_fecha);
    } else {
      r += QLatin1Char(ch);
    }
  }
  return r;
}

QString QTexto(const std::string& texto) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString r = utf8(QByteArrayView(texto.data(), static_cast<qsizetype>(texto.size())));
  if (utf8.hasError()) {
    return QString::fromLatin1(texto.data(), static_cast<qsizetype>(texto.size()));
  }
  return r;
}

std::string TextoStd(const QString& texto) { return texto.toStdString(); }

TFechaHora DiaDeFecha(const QDate& fecha) {
  return CodificarFecha(fecha.year(), fecha.month(), fecha.day());
}
