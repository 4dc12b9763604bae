#pragma once

#include "patches/patches.h"

#include <QByteArray>

// A language file in the form the tests build it: the fixed rows of the
// example and the given dynamic entries and default set.
inline QByteArray language_file(const QByteArray &dynamic, const QByteArray &defaults = "[]")
{
    return "{\"buttons\": [\"EXIT\", \"CLEAR CACHE AND TRASH\", \"RUN WOW\"],\n"
           " \"patches\": {\"static\": {\n"
           "   \"fonts\": {\"name\": \"Interface fonts (11)\", \"actions\": [\"On\", \"Off\"]},\n"
           "   \"dxvk\": {\"name\": \"DXVK\", \"actions\": [\"On\", \"On, no config\", \"Off\"]},\n"
           "   \"allpatches\": {\"name\": \"All patches\", \"actions\": [\"All on\", \"Defaults\", \"All off\"]},\n"
           "   \"default\": "
        + defaults + "},\n \"dynamic\": " + dynamic + "}}";
}

// `n` patch entries "<title> <letter>" in letter order, each with an on and
// an off choice and no conditions.
inline QByteArray plain_patches(int n, const QByteArray &title = "Patch")
{
    QByteArray dynamic = "{";
    for (int i = 0; i < n; ++i) {
        const QByteArray key = tess::ALPHABET.at(i).toLatin1();
        dynamic += (i ? ",\n" : "") + QByteArray("\"") + key + "\": {\"name\": \"" + title + " " + key
            + "\", \"actions\": {\"On\": [1, 1], \"Off\": [0, 0]}, \"conditions\": [[]]}";
    }
    return dynamic + "}";
}
