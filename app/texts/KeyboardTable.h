#pragma once
// The keys a button or axis can be mapped to, in the on-screen keyboard's order: each key's
// HID usage id (keyboard page) and its name. Key button id k of the on-screen keyboard stands
// for entry k - 1.

struct KeyboardKey {
    unsigned char usage;
    char name[50]; // 8-bit, followed by one space ("Up" by two)
};

extern const KeyboardKey KeyboardTable[];

// 103.
int KeyCount();

// The name (with its trailing space) of the first key whose usage id is usage; "" when none.
const char* KeyName(int usage);
