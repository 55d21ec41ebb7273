#!/usr/bin/env python3
"""A plain Python game loop of dominoes, the yardstick for the engine's pace.

Four players, double-six set, seven tiles each; the holder of the double six
leads it in the first hand, the winner of a hand leads the next; every player
lays its heaviest playable tile (ties to the first end); a hand ends when a
player plays out (domino) or nobody can play (blocked: lowest pips win).
Written the way a small game library is written: tile, hand, board and game
objects, the valid moves listed at every turn. Prints hands per CPU-second.
"""
import collections
import random
import sys
import time


class Domino:
    __slots__ = ("first", "second")

    def __init__(self, first, second):
        self.first = first
        self.second = second

    def __eq__(self, other):
        return {self.first, self.second} == {other.first, other.second}

    def __hash__(self):
        return hash(frozenset((self.first, self.second)))

    def inverted(self):
        return Domino(self.second, self.first)

    def pips(self):
        return self.first + self.second


class Hand:
    def __init__(self, dominoes):
        self._dominoes = list(dominoes)

    def play(self, d):
        self._dominoes.remove(d)

    def __contains__(self, d):
        return d in self._dominoes

    def __iter__(self):
        return iter(self._dominoes)

    def __len__(self):
        return len(self._dominoes)


class EndsMismatchError(Exception):
    pass


class Board:
    def __init__(self):
        self.board = collections.deque()

    def left_end(self):
        return self.board[0].first

    def right_end(self):
        return self.board[-1].second

    def add(self, d, left):
        if not self.board:
            self.board.append(d)
        elif left:
            if d.second == self.left_end():
                self.board.appendleft(d)
            elif d.first == self.left_end():
                self.board.appendleft(d.inverted())
            else:
                raise EndsMismatchError(d)
        else:
            if d.first == self.right_end():
                self.board.append(d)
            elif d.second == self.right_end():
                self.board.append(d.inverted())
            else:
                raise EndsMismatchError(d)

    def __len__(self):
        return len(self.board)


class Game:
    def __init__(self, rng, starting_player=None):
        tiles = [Domino(i, j) for i in range(7) for j in range(i, 7)]
        rng.shuffle(tiles)
        self.hands = [Hand(tiles[7 * p:7 * p + 7]) for p in range(4)]
        self.board = Board()
        if starting_player is None:
            for p, hand in enumerate(self.hands):
                if Domino(6, 6) in hand:
                    starting_player = p
            self.turn = starting_player
            self.make_move(Domino(6, 6), True)
        else:
            self.turn = starting_player
            hand = self.hands[self.turn]
            self.make_move(max(hand, key=lambda d: d.pips()), True)
        self.result = None

    def valid_moves(self):
        if not self.board:
            return [(d, True) for d in self.hands[self.turn]]
        left, right = self.board.left_end(), self.board.right_end()
        moves = []
        for d in self.hands[self.turn]:
            if left in (d.first, d.second):
                moves.append((d, True))
            if right in (d.first, d.second):
                moves.append((d, False))
        return moves

    def make_move(self, d, left):
        self.board.add(d, left)
        self.hands[self.turn].play(d)
        self.passes = 0
        if not self.hands[self.turn]:
            self.result = ("domino", self.turn)
            return
        self.turn = (self.turn + 1) % 4

    def pass_turn(self):
        self.passes += 1
        if self.passes == 4:
            totals = [sum(d.pips() for d in h) for h in self.hands]
            self.result = ("blocked", totals.index(min(totals)))
            return
        self.turn = (self.turn + 1) % 4

    def play(self):
        while self.result is None:
            moves = self.valid_moves()
            if not moves:
                self.pass_turn()
                continue
            self.make_move(*max(moves, key=lambda m: m[0].pips()))
        return self.result


def main():
    hands = int(sys.argv[1]) if len(sys.argv) > 1 else 20000
    rng = random.Random(1)
    start = time.process_time()
    leader = None
    for _ in range(hands):
        _, leader = Game(rng, leader).play()
    seconds = time.process_time() - start
    print(f"peer {hands} hands {seconds:.3f} cpu-seconds {hands / seconds:.0f} hands/cpu-second")


if __name__ == "__main__":
    main()
