#include "joincode.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace vexel {

QString newJoinCode() {
    QString code;
    const int letters = int(sizeof JOIN_CODE_ALPHABET) - 1;
    for (int i = 0; i < JOIN_CODE_LENGTH; ++i)
        code += QChar(JOIN_CODE_ALPHABET[QRandomGenerator::system()->bounded(letters)]);
    return code;
}

QString normaliseJoinCode(const QString& typed) {
    QString code;
    for (QChar c : typed)
        if (c != u' ' && c != u'-') code += c.toUpper();
    return code;
}

QByteArray newChallenge() {
    QByteArray bytes(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), 4);
    return bytes.toHex();
}

QByteArray joinAnswer(const QString& code, const QByteArray& challengeHex) {
    return QMessageAuthenticationCode::hash("vexel-join " + challengeHex, normaliseJoinCode(code).toUtf8(),
                                            QCryptographicHash::Sha256)
        .toHex();
}

bool sameAnswer(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

}  // namespace vexel
