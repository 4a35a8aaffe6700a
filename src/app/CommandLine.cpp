// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "platform/Version.h"

namespace struktur {

std::optional<QString> commandLineAnswer(const QStringList& arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        return QStringLiteral("Brug: strukturkonstruktor [--help | --version]\n"
                              "Strukturkonstruktøren: opbyg informationsstrukturer, træer af elementer med hver sin\n"
                              "tekst, sit ikon og sit RTF-dokument, i de tekstfiler som værtsprogrammet læser.\n"
                              "\n"
                              "  -h, --help     vis denne hjælp og afslut\n"
                              "      --version  vis programmets version og afslut\n"
                              "\n"
                              "Programmappen er $HOME/Kvarnolt, eller mappen i miljøvariablen KVARNOLT_DIR.\n"
                              "Kommandolinjeværktøjet er struktur; se strukturkonstruktor(1) og struktur(1).\n");
    }
    if (arguments.contains(QLatin1String("--version")))
        return QStringLiteral("strukturkonstruktor %1\n").arg(programVersion());
    return std::nullopt;
}

} // namespace struktur
