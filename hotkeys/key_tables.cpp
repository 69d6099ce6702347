/*
** The key tables as constant data, row for row in the order of the hotkey
** list.
**
** Cells that look irregular beside their neighbours are part of the data:
** the extended "B" with Ctrl-Alt-Shift is 0x7003E, the extended "Plus" with
** Alt is 0x10083, the extended "Del" has no Ctrl-Alt code but a
** Ctrl-Alt-Shift one, and the classic "Num+" with Ctrl-Shift holds 0x3004A,
** the same code as "Num-".
*/
#include "frame/plugin.h"
#include "key_tables.h"

const wchar_t ModifierPrefixes[MODIFIER_COLUMNS][PREFIX_FIELD] = {
    L"", L"Shift-", L"Ctrl-", L"Alt-", L"Ctrl-Shift-", L"Ctrl-Alt-", L"Ctrl-Alt-Shift-"
};

/* Columns: none, Shift, Ctrl, Alt, Ctrl-Shift, Ctrl-Alt; no Ctrl-Alt-Shift. */
static const KeyRow ClassicRows[] = {
    {L"F1",   {0x1003B, 0x10054, 0x1005E, 0x10068, 0x30054, 0x5005E}},
    {L"F2",   {0x1003C, 0x10055, 0x1005F, 0x10069, 0x30055, 0x5005F}},
    {L"F3",   {0x1003D, 0x10056, 0x10060, 0x1006A, 0x30056, 0x50060}},
    {L"F4",   {0x1003E, 0x10057, 0x10061, 0x1006B, 0x30057, 0x50061}},
    {L"F5",   {0x1003F, 0x10058, 0x10062, 0x1006C, 0x30058, 0x50062}},
    {L"F6",   {0x10040, 0x10059, 0x10063, 0x1006D, 0x30059, 0x50063}},
    {L"F7",   {0x10041, 0x1005A, 0x10064, 0x1006E, 0x3005A, 0x50064}},
    {L"F8",   {0x10042, 0x1005B, 0x10065, 0x1006F, 0x3005B, 0x50065}},
    {L"F9",   {0x10043, 0x1005C, 0x10066, 0x10070, 0x3005C, 0x50066}},
    {L"F10",  {0x10044, 0x1005D, 0x10067, 0x10071, 0x3005D, 0x50067}},
    {L"F11",  {0x10085, 0x10087, 0x10089, 0x1008B, 0x30087, 0x50089}},
    {L"F12",  {0x10086, 0x10088, 0x1008A, 0x1008C, 0x30088, 0x5008A}},
    {L"Home", {0x10047, 0x100CA, 0x10077,      -1, 0x300CA, 0x50077}},
    {L"End",  {0x1004F, 0x100CB, 0x10075,      -1, 0x300CB, 0x50075}},
    {L"PgUp", {0x10049,      -1, 0x10084,      -1, 0x30049, 0x50084}},
    {L"PgDn", {0x10051,      -1, 0x10076,      -1, 0x30051, 0x50076}},
    {L"Ins",  {0x10052,      -1,      -1,      -1, 0x30052, 0x50092}},
    {L"Del",  {0x10053,      -1, 0x10093,      -1, 0x30053,      -1}},
    {L"Up",   {0x10048,      -1, 0x1008D,      -1, 0x30048, 0x5008D}},
    {L"Down", {0x10050,      -1, 0x10091,      -1, 0x30050, 0x50091}},
    {L"Left", {0x1004B, 0x100C8, 0x10073, 0x100F4, 0x300CC, 0x50073}},
    {L"Right", {0x1004D, 0x100C9, 0x10074, 0x100F6, 0x300CD, 0x50074}},
    {L"A",    {     -2,      -2,     0x1, 0x1001E, 0x20001, 0x5001E}},
    {L"B",    {     -2,      -2,     0x2, 0x10030, 0x20002, 0x50030}},
    {L"C",    {     -2,      -2,      -1, 0x1002E,      -1, 0x5002E}},
    {L"D",    {     -2,      -2,     0x4, 0x10020, 0x20004, 0x50020}},
    {L"E",    {     -2,      -2,     0x5, 0x10012, 0x20005, 0x50012}},
    {L"F",    {     -2,      -2,     0x6, 0x10021, 0x20006, 0x50021}},
    {L"G",    {     -2,      -2,     0x7, 0x10022, 0x20007, 0x50022}},
    {L"H",    {     -2,      -2,     0x8, 0x10023, 0x20008, 0x50023}},
    {L"I",    {     -2,      -2,     0x9, 0x10017,      -1, 0x50017}},
    {L"J",    {     -2,      -2,     0xA, 0x10024, 0x2000A, 0x50024}},
    {L"K",    {     -2,      -2,     0xB, 0x10025, 0x2000B, 0x50025}},
    {L"L",    {     -2,      -2,     0xC, 0x10026, 0x2000C, 0x50026}},
    {L"M",    {     -2,      -2,      -1, 0x10032, 0x2000D, 0x50032}},
    {L"N",    {     -2,      -2,     0xE, 0x10031, 0x2000E, 0x50031}},
    {L"O",    {     -2,      -2,     0xF, 0x10018, 0x2000F, 0x50018}},
    {L"P",    {     -2,      -2,    0x10, 0x10019, 0x20010, 0x50019}},
    {L"Q",    {     -2,      -2,    0x11, 0x10010, 0x20011, 0x50010}},
    {L"R",    {     -2,      -2,    0x12, 0x10013, 0x20012, 0x50013}},
    {L"S",    {     -2,      -2,      -1, 0x1001F,      -1, 0x5001F}},
    {L"T",    {     -2,      -2,    0x14, 0x10014, 0x20014, 0x50014}},
    {L"U",    {     -2,      -2,    0x15, 0x10016, 0x20015, 0x50016}},
    {L"V",    {     -2,      -2,    0x16, 0x1002F, 0x20016, 0x5002F}},
    {L"W",    {     -2,      -2,    0x17, 0x10011, 0x20017, 0x50011}},
    {L"X",    {     -2,      -2,    0x18, 0x1002D, 0x20018, 0x5002D}},
    {L"Y",    {     -2,      -2,    0x19, 0x10015, 0x20019, 0x50015}},
    {L"Z",    {     -2,      -2,    0x1A, 0x1002C, 0x2001A, 0x5002C}},
    {L"1",    {     -2,      -2,      -1, 0x100E2,      -1,      -1}},
    {L"2",    {     -2,      -2,      -1, 0x100E3,      -1,      -1}},
    {L"3",    {     -2,      -2,      -1, 0x100E4,      -1,      -1}},
    {L"4",    {     -2,      -2,      -1, 0x100E5,      -1,      -1}},
    {L"5",    {     -2,      -2,      -1, 0x100E6,      -1,      -1}},
    {L"6",    {     -2,      -2,      -1, 0x100E7,      -1,      -1}},
    {L"7",    {     -2,      -2,      -1, 0x100E8,      -1,      -1}},
    {L"8",    {     -2,      -2,      -1, 0x100E9,      -1,      -1}},
    {L"9",    {     -2,      -2,      -1, 0x100EA,      -1,      -1}},
    {L"0",    {     -2,      -2,      -1, 0x100EB,      -1,      -1}},
    {L"BkSp", {     -2,      -1,    0x7F, 0x1000E, 0x3000E, 0x5000E}},
    {L"Grave", {     -2,      -2,      -1, 0x10029, 0x30029, 0x50029}},
    {L"-",    {     -2,      -2,      -1, 0x10082,      -1,      -1}},
    {L"=",    {     -2,      -2,      -1, 0x10083,      -1,      -1}},
    {L"[",    {     -2,      -2,      -1, 0x1001A,      -1, 0x5001A}},
    {L"]",    {     -2,      -2,      -1, 0x1001B,      -1, 0x5001B}},
    {L"\\",   {     -2,      -2,    0x1C, 0x1002B,      -1, 0x5002B}},
    {L";",    {     -2,      -2,      -1, 0x10027,      -1, 0x50027}},
    {L"'",    {     -2,      -2,      -1, 0x10028,      -1, 0x50028}},
    {L",",    {     -2,      -2,      -1, 0x10033,      -1, 0x50033}},
    {L".",    {     -2,      -2,      -1, 0x10034,      -1, 0x50034}},
    {L"/",    {     -2,      -2,      -1, 0x10035,      -1, 0x50035}},
    {L"Num/", {     -2,      -2,      -1,      -1, 0x30035,      -1}},
    {L"Num*", {     -2,      -2, 0x10037, 0x1002A, 0x30037, 0x50037}},
    {L"Num-", {     -2,      -2, 0x1004A,      -2, 0x3004A, 0x5004A}},
    {L"Num+", {     -2,      -2, 0x1004E,      -2, 0x3004A, 0x5004E}},
};

static const KeyAlias ClassicAliases[] = {
    {L"PageUp",     L"PgUp"},
    {L"PageDown",   L"PgDn"},
    {L"Insert",     L"Ins"},
    {L"Delete",     L"Del"},
    {L"Backspace",  L"BkSp"},
    {L"Backquote",  L"Grave"},
    {L"Minus",      L"-"},
    {L"Equals",     L"="},
    {L"Backslash",  L"\\"},
    {L"Semicolon",  L";"},
    {L"Semi",       L";"},
    {L"Apostrophe", L"'"},
    {L"Apos",       L"'"},
    {L"Comma",      L","},
    {L"Period",     L"."},
    {L"Dot",        L"."},
    {L"Slash",      L"/"},
};

/* Columns: none, Shift, Ctrl, Alt, Ctrl-Shift, Ctrl-Alt, Ctrl-Alt-Shift.
** The aliases U+00BD, U+00DB, U+00DD and U+00DC carry the numbers of the
** virtual keys they stand for. */
static const KeyRow ExtendedRows[] = {
    {L"F1",        {0x1003B, 0x10054, 0x1005E, 0x10068, 0x30054, 0x5005E, 0x7005E}},
    {L"F2",        {0x1003C, 0x10055, 0x1005F, 0x10069, 0x30055, 0x5005F, 0x7005F}},
    {L"F3",        {0x1003D, 0x10056, 0x10060, 0x1006A, 0x30056, 0x50060, 0x70060}},
    {L"F4",        {0x1003E, 0x10057, 0x10061, 0x1006B, 0x30057, 0x50061, 0x70061}},
    {L"F5",        {0x1003F, 0x10058, 0x10062, 0x1006C, 0x30058, 0x50062, 0x70062}},
    {L"F6",        {0x10040, 0x10059, 0x10063, 0x1006D, 0x30059, 0x50063, 0x70063}},
    {L"F7",        {0x10041, 0x1005A, 0x10064, 0x1006E, 0x3005A, 0x50064, 0x70064}},
    {L"F8",        {0x10042, 0x1005B, 0x10065, 0x1006F, 0x3005B, 0x50065, 0x70065}},
    {L"F9",        {0x10043, 0x1005C, 0x10066, 0x10070, 0x3005C, 0x50066, 0x70066}},
    {L"F10",       {0x10044, 0x1005D, 0x10067, 0x10071, 0x3005D, 0x50067, 0x70067}},
    {L"F11",       {0x10085, 0x10087, 0x10089, 0x1008B, 0x30087, 0x50089, 0x70089}},
    {L"F12",       {0x10086, 0x10088, 0x1008A, 0x1008C, 0x30088, 0x5008A, 0x7008A}},
    {L"Home",      {0x10047, 0x100CA, 0x10077,      -1, 0x300CA, 0x50077, 0x70077}},
    {L"End",       {0x1004F, 0x100CB, 0x10075,      -1, 0x300CB, 0x50075, 0x70075}},
    {L"PgUp",      {0x10049,      -1, 0x10084,      -1, 0x30049, 0x50084, 0x70084}},
    {L"PgDn",      {0x10051,      -1, 0x10076,      -1, 0x30051, 0x50076, 0x70076}},
    {L"Ins",       {0x10052,      -1,      -1,      -1, 0x30052, 0x50092, 0x70092}},
    {L"Del",       {0x10053,      -1, 0x10093,      -1, 0x30053,      -1, 0x70093}},
    {L"Up",        {0x10048,      -1, 0x1008D,      -1, 0x30048, 0x5008D, 0x7008D}},
    {L"Down",      {0x10050,      -1, 0x10091,      -1, 0x30050, 0x50091, 0x70091}},
    {L"Left",      {0x1004B, 0x100C8, 0x10073, 0x100F4, 0x300CC, 0x50073, 0x70073}},
    {L"Right",     {0x1004D, 0x100C9, 0x10074, 0x100F6, 0x300CD, 0x50074, 0x70074}},
    {L"A",         {     -2,      -2,     0x1, 0x1001E, 0x20001, 0x5001E, 0x7001E}},
    {L"B",         {     -2,      -2,     0x2, 0x10030, 0x20002, 0x50030, 0x7003E}},
    {L"C",         {     -2,      -2,      -1, 0x1002E,      -1, 0x5002E, 0x7002E}},
    {L"D",         {     -2,      -2,     0x4, 0x10020, 0x20004, 0x50020, 0x70020}},
    {L"E",         {     -2,      -2,     0x5, 0x10012, 0x20005, 0x50012, 0x70012}},
    {L"F",         {     -2,      -2,     0x6, 0x10021, 0x20006, 0x50021, 0x70021}},
    {L"G",         {     -2,      -2,     0x7, 0x10022, 0x20007, 0x50022, 0x70022}},
    {L"H",         {     -2,      -2,     0x8, 0x10023, 0x20008, 0x50023, 0x70023}},
    {L"I",         {     -2,      -2,     0x9, 0x10017,      -1, 0x50017, 0x70017}},
    {L"J",         {     -2,      -2,     0xA, 0x10024, 0x2000A, 0x50024, 0x70024}},
    {L"K",         {     -2,      -2,     0xB, 0x10025, 0x2000B, 0x50025, 0x70025}},
    {L"L",         {     -2,      -2,     0xC, 0x10026, 0x2000C, 0x50026, 0x70026}},
    {L"M",         {     -2,      -2,     0xD, 0x10032, 0x2000D, 0x50032, 0x70032}},
    {L"N",         {     -2,      -2,     0xE, 0x10031, 0x2000E, 0x50031, 0x70031}},
    {L"O",         {     -2,      -2,     0xF, 0x10018, 0x2000F, 0x50018, 0x70018}},
    {L"P",         {     -2,      -2,    0x10, 0x10019, 0x20010, 0x50019, 0x70019}},
    {L"Q",         {     -2,      -2,    0x11, 0x10010, 0x20011, 0x50010, 0x70010}},
    {L"R",         {     -2,      -2,    0x12, 0x10013, 0x20012, 0x50013, 0x70013}},
    {L"S",         {     -2,      -2,      -1, 0x1001F,      -1, 0x5001F, 0x7001F}},
    {L"T",         {     -2,      -2,    0x14, 0x10014, 0x20014, 0x50014, 0x70014}},
    {L"U",         {     -2,      -2,    0x15, 0x10016, 0x20015, 0x50016, 0x70016}},
    {L"V",         {     -2,      -2,    0x16, 0x1002F, 0x20016, 0x5002F, 0x7002F}},
    {L"W",         {     -2,      -2,    0x17, 0x10011, 0x20017, 0x50011, 0x70011}},
    {L"X",         {     -2,      -2,    0x18, 0x1002D, 0x20018, 0x5002D, 0x7002D}},
    {L"Y",         {     -2,      -2,    0x19, 0x10015, 0x20019, 0x50015, 0x70015}},
    {L"Z",         {     -2,      -2,    0x1A, 0x1002C, 0x2001A, 0x5002C, 0x7002C}},
    {L"1",         {     -2,      -2,    0xE2, 0x100E2, 0x200E2, 0x500E2, 0x700E2}},
    {L"2",         {     -2,      -2,    0xE3, 0x100E3, 0x200E3, 0x500E3, 0x700E3}},
    {L"3",         {     -2,      -2,    0xE4, 0x100E4, 0x200E4, 0x500E4, 0x700E4}},
    {L"4",         {     -2,      -2,    0xE5, 0x100E5, 0x200E5, 0x500E5, 0x700E5}},
    {L"5",         {     -2,      -2,    0xE6, 0x100E6, 0x200E6, 0x500E6, 0x700E6}},
    {L"6",         {     -2,      -2,    0xE7, 0x100E7, 0x200E7, 0x500E7, 0x700E7}},
    {L"7",         {     -2,      -2,    0xE8, 0x100E8, 0x200E8, 0x500E8, 0x700E8}},
    {L"8",         {     -2,      -2,    0xE9, 0x100E9, 0x200E9, 0x500E9, 0x700E9}},
    {L"9",         {     -2,      -2,    0xEA, 0x100EA, 0x200EA, 0x500EA, 0x700EA}},
    {L"0",         {     -2,      -2,    0xEB, 0x100EB, 0x200EB, 0x500EB, 0x700EB}},
    {L"Backspace", {     -2,   0x87F,    0x7F, 0x1000E, 0x3000E, 0x5000E, 0x7000E}},
    {L"`",         {     -2,      -2,   0x860, 0x10860, 0x20860, 0x50860, 0x70860}},
    {L"Minus",     {     -2,      -2,   0x8BD, 0x108BD, 0x208BD, 0x508BD, 0x708BD}},
    {L"Plus",      {     -2,      -2,   0x8BB, 0x10083, 0x208BB, 0x508BB, 0x708BB}},
    {L"Enter",     {     -2,   0x80D,   0xC0D,      -1, 0x2080D, 0x5080D, 0x7080D}},
    {L"[",         {     -2,      -2,   0x8DB, 0x1001A, 0x208DB, 0x5001A, 0x7001A}},
    {L"]",         {     -2,      -2,   0x8DD, 0x1001B, 0x208DD, 0x5001B, 0x7001B}},
    {L"\\",        {     -2,      -2,   0x8DC, 0x1002B, 0x208DC, 0x5002B, 0x7002B}},
    {L"Divide",    {     -2,      -2,   0x835, 0x10035, 0x20035, 0x50035, 0x70035}},
    {L"*",         {     -2,      -2, 0x10037, 0x1002A, 0x30037, 0x50037, 0x70037}},
    {L";",         {     -2,      -2,   0x827, 0x10027, 0x20027, 0x50027, 0x70027}},
    {L"'",         {     -2,      -2,   0x828, 0x10028, 0x20028, 0x50028, 0x70028}},
    {L",",         {     -2,      -2,   0x833, 0x10033, 0x20033, 0x50033, 0x70033}},
    {L"Decimal",   {     -2,      -2,   0x834, 0x10034, 0x20034, 0x50034, 0x70034}},
};

static const KeyAlias ExtendedAliases[] = {
    {L"PageUp",     L"PgUp"},
    {L"PageDown",   L"PgDn"},
    {L"Insert",     L"Ins"},
    {L"Delete",     L"Del"},
    {L"BkSp",       L"Backspace"},
    {L"Grave",      L"`"},
    {L"-",          L"Minus"},
    {L"\u00BD",     L"Minus"},
    {L"+",          L"Plus"},
    {L"Equals",     L"Plus"},
    {L"=",          L"Plus"},
    {L"Backslash",  L"\\"},
    {L"\u00DB",     L"["},
    {L"\u00DD",     L"]"},
    {L"\u00DC",     L"\\"},
    {L"/",          L"Divide"},
    {L"Multiply",   L"*"},
    {L"Semicolon",  L";"},
    {L"Semi",       L";"},
    {L"Apostrophe", L"'"},
    {L"Apos",       L"'"},
    {L"Comma",      L","},
    {L".",          L"Decimal"},
    {L"Period",     L"Decimal"},
    {L"Dot",        L"Decimal"},
};

/* Every row and alias entry, none missing, none extra. */
static_assert(sizeof ClassicRows / sizeof ClassicRows[0] == CLASSIC_KEY_ROWS, "74 rows");
static_assert(sizeof ClassicAliases / sizeof ClassicAliases[0] == CLASSIC_ALIAS_COUNT, "17 aliases");
static_assert(sizeof ExtendedRows / sizeof ExtendedRows[0] == EXTENDED_KEY_ROWS, "72 rows");
static_assert(sizeof ExtendedAliases / sizeof ExtendedAliases[0] == EXTENDED_ALIAS_COUNT, "25 aliases");

const KeyTable ClassicKeyTable = {
    CLASSIC_KEY_ROWS, CLASSIC_KEY_COLUMNS, ClassicRows, CLASSIC_ALIAS_COUNT, ClassicAliases
};

const KeyTable ExtendedKeyTable = {
    EXTENDED_KEY_ROWS, EXTENDED_KEY_COLUMNS, ExtendedRows, EXTENDED_ALIAS_COUNT, ExtendedAliases
};

const KeyTable *ActiveKeyTable(void)
{
    return UseExtendedKeys ? &ExtendedKeyTable : &ClassicKeyTable;
}

int ModifierColumn(const KeyTable *table, ModifierSet modifiers)
{
    switch (modifiers) {
    case 0: return 0;
    case MODIFIER_SHIFT: return 1;
    case MODIFIER_CTRL: return 2;
    case MODIFIER_ALT: return 3;
    case MODIFIER_SHIFT | MODIFIER_CTRL: return 4;
    case MODIFIER_CTRL | MODIFIER_ALT: return 5;
    case MODIFIER_SHIFT | MODIFIER_CTRL | MODIFIER_ALT: return table->columnCount > 6 ? 6 : -1;
    default: return -1;   /* Shift with Alt */
    }
}
