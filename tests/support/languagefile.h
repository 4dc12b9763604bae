#pragma once

#include "core/patches/patches.h"

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

// One patch entry: on and off choices and no conditions unless given.
inline QByteArray patch_entry(const char *name, const char *actions = R"({"On": [1, 1], "Off": [0, 0]})",
                              const char *conditions = "[[]]")
{
    return QByteArray("{\"name\": \"") + name + "\", \"actions\": " + actions + ", \"conditions\": " + conditions + "}";
}

// The example the tests share: patch a with three choices, patch b needing a.
inline QByteArray example_language_file()
{
    return language_file(
        "{\"a\": " + patch_entry("Patch A", R"({"On": [1, 1], "Data only": [1, 0], "Off": [0, 0]})") + ",\n \"b\": "
            + patch_entry("Patch B", R"({"On": [1, 1], "Off": [0, 0]})", R"([["a11|a10", "Needs patch A"]])") + "}",
        R"(["a11", ["b", 0, 0]])");
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
