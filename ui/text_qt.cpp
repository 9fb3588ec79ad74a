#include "ui/text_qt.h"

#include "text/charset.h"

QString qstring_from(const Text& text) {
    const ByteBuffer utf8 = ansi_to_utf8(text);
    QString s = QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()), static_cast<qsizetype>(utf8.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

Text text_from(QString s) {
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray utf8 = s.toUtf8();
    return utf8_to_ansi(ByteBuffer(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}
