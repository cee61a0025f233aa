#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <string>

#include "fechas.h"
#include "formatos.h"

// The user's number and date settings as the desktop reports them, in the system's own pattern
// letters (m month, n minute, h hour). VELTRA_FORMATOS, when set, wins, as for the command line.
TFormatos FormatosDeQLocale(const QLocale& locale);
TFormatos FormatosDelEscritorio();

// A Qt pattern from a short date pattern of the settings ('/' is the date separator), with
// four-digit years.
QString PatronFechaQt(const TFormatos& f);

// Texts of the models are bytes; UTF-8 when valid, otherwise Latin-1, so foreign files survive.
QString QTexto(const std::string& texto);
std::string TextoStd(const QString& texto);

// Day numbers of the date edits (days from 30 December 1899).
TFechaHora DiaDeFecha(const QDate& fecha);
