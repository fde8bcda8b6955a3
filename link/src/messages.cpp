// SPDX-License-Identifier: GPL-3.0-or-later
// The notification numbers of the reply codes.
#include "messages.h"

#include <corvan.h>

#include <cstring>

namespace corvan::detail {

namespace {

constexpr MessageEntry kMessages[] = {
    {"AC", 4096}, {"AG", 4097}, {"AI", 4098}, {"AL", 4099}, {"AM", 4195}, {"AN", 4100},
    {"AR", 4185}, {"AS", 4186}, {"BC", 4101}, {"BD", 4102}, {"BP", 4103}, {"BU", 4104},
    {"BY", 4105}, {"CA", 4106}, {"CG", 4107}, {"CI", 4108}, {"CM", 4109}, {"CN", 4110},
    {"CT", 4111}, {"DC", 4112}, {"DN", 4113}, {"DQ", 4114}, {"EX", 4115}, {"FA", 4116},
    {"FB", 4117}, {"FC", 4118}, {"FD", 4119}, {"FR", 4120}, {"FS", 4121}, {"FT", 4122},
    {"FW", 4123}, {"GT", 4124}, {"ID", 4125}, {"IF", 4126}, {"IS", 4127}, {"KS", 4128},
    {"KY", 4129}, {"LK", 4130}, {"LM", 4131}, {"LT", 4132}, {"MC", 4133}, {"MD", 4134},
    {"MF", 4188}, {"MG", 4135}, {"ML", 4136}, {"MO", 4137}, {"MR", 4138}, {"MU", 4189},
    {"MW", 4139}, {"NB", 4140}, {"NL", 4141}, {"NR", 4142}, {"NT", 4143}, {"OF", 4144},
    {"OI", 4200}, {"OS", 4145}, {"PA", 4147}, {"PB", 4148}, {"PC", 4149}, {"PK", 4198},
    {"PL", 4150}, {"PM", 4194}, {"PR", 4151}, {"PS", 4152}, {"QC", 4146}, {"QR", 4190},
    {"RA", 4153}, {"RC", 4154}, {"RD", 4155}, {"RG", 4159}, {"RL", 4160}, {"RM", 4161},
    {"RT", 4157}, {"RU", 4156}, {"RX", 4162}, {"SA", 4164}, {"SB", 4165}, {"SC", 4166},
    {"SD", 4167}, {"SH", 4168}, {"SL", 4169}, {"SM", 4170}, {"SQ", 4171}, {"SR", 4172},
    {"SS", 4191}, {"ST", 4173}, {"SU", 4192}, {"TC", 4174}, {"TD", 4175}, {"TI", 4197},
    {"TN", 4176}, {"TO", 4177}, {"TS", 4196}, {"TX", 4163}, {"TY", 4199}, {"UL", 4193},
    {"UP", 4178}, {"UR", 4179}, {"UT", 4180}, {"VD", 4181}, {"VG", 4182}, {"VR", 4183},
    {"VX", 4184}, {"XT", 4158},
};

} // namespace

std::span<const MessageEntry> MessageTable() { return kMessages; }

const MessageEntry* FindMessage(const char* piece)
{
    if (piece == nullptr || piece[0] == '\0' || piece[1] == '\0')
        return nullptr;
    for (const MessageEntry& e : kMessages) {
        if (e.code[0] == piece[0] && e.code[1] == piece[1])
            return &e;
    }
    return nullptr;
}

} // namespace corvan::detail

namespace corvan {

const char* MessageCode(std::uint32_t message)
{
    if (message == kMessageDirect)
        return "direct";
    for (const detail::MessageEntry& e : detail::MessageTable()) {
        if (e.message == message)
            return e.code;
    }
    return nullptr;
}

std::uint32_t MessageOf(const char* code)
{
    if (code == nullptr)
        return 0;
    if (std::strcmp(code, "direct") == 0)
        return kMessageDirect;
    if (std::strlen(code) != 2)
        return 0;
    const detail::MessageEntry* e = detail::FindMessage(code);
    return e != nullptr ? e->message : 0;
}

} // namespace corvan
