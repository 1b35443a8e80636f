#include "seating.h"

#include <algorithm>
#include <utility>

namespace vexel {
namespace {

Seat seatAfter(int seat, int steps) { return Seat((seat + steps) % SEAT_COUNT); }

Seat lowestPlayingSeat(const PlayerSlots& seats) {
    for (Seat s = 0; s < SEAT_COUNT; ++s)
        if (seats[s].plays()) return s;
    return 0;
}

Seat lowestFreeSeat(const PlayerSlots& seats) {
    for (Seat s = 0; s < SEAT_COUNT; ++s)
        if (!seats[s].plays()) return s;
    return 0;
}

// The seat of `row` is about to join; `count` is the number of seats playing
// afterwards, and the joiner itself does not play yet.
void makeRoomForJoiner(PlayerSlots& seats, int count, std::uint8_t row) {
    switch (count) {
    case 1:  // the first player always sits at the top
        swapSeats(seats, 0, seatOfColour(seats, row));
        break;
    case 2: {  // opposite the one already there
        const Seat p = lowestPlayingSeat(seats);
        swapSeats(seats, seatAfter(p, 3), seatOfColour(seats, row));
        break;
    }
    case 3: {  // the pair p, p+3 becomes p, p+2, and the joiner takes p+4
        const Seat q = seatAfter(lowestPlayingSeat(seats), 3);
        swapSeats(seats, q, seatAfter(q, 5));
        swapSeats(seats, seatAfter(q, 1), seatOfColour(seats, row));
        break;
    }
    case 4: {  // every second seat becomes 1, 2, 4 and the joiner takes 5
        const Seat p = lowestPlayingSeat(seats);
        const std::uint8_t a = seats[seatAfter(p, 2)].colour;
        const std::uint8_t b = seats[seatAfter(p, 4)].colour;
        swapSeats(seats, 1, p);
        swapSeats(seats, 2, seatOfColour(seats, a));
        swapSeats(seats, 4, seatOfColour(seats, b));
        swapSeats(seats, 5, seatOfColour(seats, row));
        break;
    }
    case 5:  // any free seat will do
        swapSeats(seats, lowestFreeSeat(seats), seatOfColour(seats, row));
        break;
    default:
        break;
    }
}

// Seat `d` has just left; `count` seats still play.
void closeGapAfterLeaver(PlayerSlots& seats, int count, Seat d) {
    switch (count) {
    case 2:  // from every second seat to an opposite pair
        swapSeats(seats, seatAfter(d, 2), seatAfter(d, 1));
        break;
    case 3:  // from two opposite gaps to every second seat
        if (!seats[seatAfter(d, 1)].plays())
            swapSeats(seats, seatAfter(d, 2), seatAfter(d, 1));
        else
            swapSeats(seats, seatAfter(d, 4), seatAfter(d, 5));
        break;
    case 4: {  // the two gaps must face each other
        int i = lowestFreeSeat(seats);
        int steps = 0;
        while (!(seats[i].plays() && seats[seatAfter(i, 1)].plays())) {
            i = seatAfter(i, 1);
            if (++steps > SEAT_COUNT) return;  // no two neighbours play: nothing to close
        }
        const Seat x = seatAfter(i, 2);
        if (!seats[x].plays()) return;
        const Seat y = seatAfter(x, 1);
        if (seats[y].plays()) swapSeats(seats, y, seatAfter(x, 2));
        swapSeats(seats, x, y);
        break;
    }
    default:
        break;
    }
}

}  // namespace

Seat seatOfColour(const PlayerSlots& seats, std::uint8_t colour) {
    for (Seat s = 0; s < SEAT_COUNT; ++s)
        if (seats[s].colour == colour) return s;
    return 0;
}

void swapSeats(PlayerSlots& seats, Seat a, Seat b) {
    if (a != b) std::swap(seats[a], seats[b]);
}

void rotateSeats(PlayerSlots& seats) { std::rotate(seats.rbegin(), seats.rbegin() + 1, seats.rend()); }

int countPlayingSeats(const PlayerSlots& seats) {
    return int(std::count_if(seats.begin(), seats.end(), [](const PlayerSlot& slot) { return slot.plays(); }));
}

int changeRowKind(PlayerSlots& seats, int seatCount, std::uint8_t row, PlayerKind kind) {
    const Seat s = seatOfColour(seats, row);
    int count = seatCount;
    const bool leaving = kind == PlayerKind::NotPlaying;
    if (leaving && seats[s].plays()) --count;
    if (!leaving && !seats[s].plays()) ++count;

    if (count > seatCount) makeRoomForJoiner(seats, count, row);
    seats[seatOfColour(seats, row)].kind = kind;
    if (count < seatCount) closeGapAfterLeaver(seats, count, s);
    return count;
}

void completeTooFewPlayers(PlayerSlots& seats, int seatCount) {
    if (seatCount == 0) {
        seats[0].kind = PlayerKind::Human;
        seats[3].kind = PlayerKind::Human;
    } else if (seatCount == 1) {
        seats[seatAfter(lowestPlayingSeat(seats), 3)].kind = PlayerKind::Human;
    }
}

}  // namespace vexel
