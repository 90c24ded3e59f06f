#pragma once

#include <QString>
#include <QStringList>

namespace parlix {

class DataFolder;

// Puts the files a new installation needs into the data folder: the book list
// with "Principale", the empty template, the book "Principale", the prefix list,
// the disclaimer switch and text, and the help page. A file that exists (under
// any letter case) is never touched.
class Installer
{
public:
    explicit Installer(const DataFolder& folder) : folder_(folder) {}

    // The names of the files it could not create; empty on success.
    QStringList run();

    static QStringList defaultPrefixes();

private:
    bool missing(const QString& name) const;

    const DataFolder& folder_;
};

} // namespace parlix
