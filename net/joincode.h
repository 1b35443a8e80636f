// The join code and its proof. The code is read out by the host and typed by
// the players; it never crosses the network. A joining program proves it by
// answering the host's fresh challenge with HMAC-SHA-256 under the code.
#pragma once

#include <QByteArray>
#include <QString>

namespace vexel {

// Letters and digits that no one takes for one another (no 0/O, 1/I/L, 2/Z, 5/S, 8/B).
inline constexpr char JOIN_CODE_ALPHABET[] = "ACDEFGHJKMNPQRTUVWXY34679";
inline constexpr int JOIN_CODE_LENGTH = 6;

QString newJoinCode();
// A code as typed: upper case, spaces and dashes dropped.
QString normaliseJoinCode(const QString& typed);
// 16 random bytes from the system's generator, as 32 hex digits.
QByteArray newChallenge();
// 64 hex digits: HMAC-SHA-256 of the challenge's hex under the normalised code.
QByteArray joinAnswer(const QString& code, const QByteArray& challengeHex);
// Compares without telling by its time how much was right.
bool sameAnswer(const QByteArray& a, const QByteArray& b);

}  // namespace vexel
