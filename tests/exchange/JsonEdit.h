// Changes one value deep inside an image's JSON, to build broken files from good ones.
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QStringList>

// path: object keys and list positions, e.g. {"memory", "3", "channels", "12", "RxFreq"}.
// An undefined value removes the key.
QByteArray EditJson(const QByteArray& json, const QStringList& path, const QJsonValue& value);
