#include "JsonEdit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonValue Edit(const QJsonValue& node, const QStringList& path, qsizetype at, const QJsonValue& value)
{
    const QString key = path[at];
    const bool last = at + 1 == path.size();
    if (node.isArray()) {
        QJsonArray a = node.toArray();
        const int i = key.toInt();
        a[i] = last ? value : Edit(a[i], path, at + 1, value);
        return a;
    }
    QJsonObject o = node.toObject();
    if (last && value.isUndefined())
        o.remove(key);
    else
        o[key] = last ? value : Edit(o[key], path, at + 1, value);
    return o;
}

}  // namespace

QByteArray EditJson(const QByteArray& json, const QStringList& path, const QJsonValue& value)
{
    const QJsonValue top = QJsonDocument::fromJson(json).object();
    return QJsonDocument(Edit(top, path, 0, value).toObject()).toJson(QJsonDocument::Indented);
}
