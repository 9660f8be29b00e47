#pragma once

#include <QString>

#include <optional>

// The machine-wide settings of the suite, in a text file that stands in for the local-machine
// registry hive: one section per key path, written as the suite writes registry keys, and
// name=value lines below it.
//
//     [SOFTWARE\Vestral\WF\V8.520\Appearance]
//     Toolbar Style=True
//
// Key paths and value names are compared without regard to letter case, as registry names are.
// Blank lines and lines starting with ';' or '#' are ignored; a value (or a name) may be written
// between double quotes, which are dropped. The file is only read; administrators edit it by hand.
class MachineRegistry
{
public:
    // The file read: ~/.config/Orvane/registry.ini (XDG_CONFIG_HOME moves it) unless setFilePath
    // chose another.
    static QString filePath();
    // Reads another file from now on (tests); an empty path returns to the default.
    static void setFilePath(const QString &path);

    // The text of value `name` under `keyPath`. Nothing when the file cannot be read, the key or
    // the value is missing, or the value needs more than `bufferSize` bytes (UTF-8, with the
    // terminating zero), as a read into a fixed buffer of that size fails.
    static std::optional<QString> readString(const QString &keyPath, const QString &name, int bufferSize = 128);
};
