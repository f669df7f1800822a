#include "texts/KeyboardTable.h"

namespace {
const int kKeyCount = 103;
}

// Keypad keys repeat the names of their main-block twins; usage ids are all distinct.
const KeyboardKey KeyboardTable[kKeyCount] = {
    {0x35, "` "},      {0x1E, "1 "},     {0x1F, "2 "},      {0x20, "3 "},     {0x21, "4 "},     {0x22, "5 "},
    {0x23, "6 "},      {0x24, "7 "},     {0x25, "8 "},      {0x26, "9 "},     {0x27, "0 "},     {0x2D, "- "},
    {0x2E, "= "},      {0x2A, "BkSpc "}, {0x2B, "Tab "},    {0x14, "Q "},     {0x1A, "W "},     {0x08, "E "},
    {0x15, "R "},      {0x17, "T "},     {0x1C, "Y "},      {0x18, "U "},     {0x0C, "I "},     {0x12, "O "},
    {0x13, "P "},      {0x2F, "{ "},     {0x30, "} "},      {0x28, "Enter "}, {0x39, "Caps "},  {0x04, "A "},
    {0x16, "S "},      {0x07, "D "},     {0x09, "F "},      {0x0A, "G "},     {0x0B, "H "},     {0x0D, "J "},
    {0x0E, "K "},      {0x0F, "L "},     {0x33, "; "},      {0x34, "' "},     {0xE1, "ShiftL "}, {0x1D, "Z "},
    {0x1B, "X "},      {0x06, "C "},     {0x19, "V "},      {0x05, "B "},     {0x11, "N "},     {0x10, "M "},
    {0x36, ", "},      {0x37, ". "},     {0x38, "/ "},      {0xE5, "ShiftR "}, {0x31, "\\ "},   {0xE0, "CtrlL "},
    {0xE3, "WinL "},   {0xE2, "AltL "},  {0x2C, "Spc "},    {0xE6, "AltR "},  {0xE7, "WinR "},  {0xE4, "CtrlR "},
    {0x52, "Up  "},    {0x50, "Left "},  {0x4F, "Right "},  {0x51, "Down "},  {0x29, "Esc "},   {0x3A, "F1 "},
    {0x3B, "F2 "},     {0x3C, "F3 "},    {0x3D, "F4 "},     {0x3E, "F5 "},    {0x3F, "F6 "},    {0x40, "F7 "},
    {0x41, "F8 "},     {0x42, "F9 "},    {0x43, "F10 "},    {0x44, "F11 "},   {0x45, "F12 "},   {0x46, "PrSc "},
    {0x47, "ScLk "},   {0x48, "Pause "}, {0x49, "Ins "},    {0x4A, "Home "},  {0x4B, "PgUp "},  {0x4C, "Del "},
    {0x4D, "End "},    {0x4E, "PgDn "},  {0x53, "NmLk "},   {0x54, "/ "},     {0x55, "* "},     {0x56, "- "},
    {0x5F, "7 "},      {0x60, "8 "},     {0x61, "9 "},      {0x57, "+ "},     {0x5C, "4 "},     {0x5D, "5 "},
    {0x5E, "6 "},      {0x59, "1 "},     {0x5A, "2 "},      {0x5B, "3 "},     {0x58, "Enter "}, {0x62, "0 "},
    {0x63, "Del "},
};

int KeyCount()
{
    return kKeyCount;
}

const char* KeyName(int usage)
{
    for (const KeyboardKey& key : KeyboardTable) {
        if (key.usage == usage)
            return key.name;
    }
    return "";
}
