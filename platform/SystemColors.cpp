// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemColors.h"

namespace SystemColors {

namespace {

struct RoleColor
{
    QPalette::ColorRole role;
    QRgb color;
};

// The classic light scheme: white boxes with black text on light grey faces.
constexpr RoleColor Scheme[] = {
    {QPalette::Window, 0xF0F0F0},          {QPalette::WindowText, 0x000000},
    {QPalette::Base, 0xFFFFFF},            {QPalette::AlternateBase, 0xF7F7F7},
    {QPalette::Text, 0x000000},            {QPalette::PlaceholderText, 0x6D6D6D},
    {QPalette::Button, 0xF0F0F0},          {QPalette::ButtonText, 0x000000},
    {QPalette::BrightText, 0xFFFFFF},      {QPalette::Light, 0xFFFFFF},
    {QPalette::Midlight, 0xE3E3E3},        {QPalette::Mid, 0xA0A0A0},
    {QPalette::Dark, 0xA0A0A0},            {QPalette::Shadow, 0x696969},
    {QPalette::Highlight, 0x0078D7},       {QPalette::HighlightedText, 0xFFFFFF},
    {QPalette::Link, 0x0066CC},            {QPalette::LinkVisited, 0x800080},
    {QPalette::ToolTipBase, 0xFFFFE1},     {QPalette::ToolTipText, 0x000000},
};

// Text that cannot be used reads grey, as everywhere.
constexpr QRgb GrayText = 0x6D6D6D;

} // namespace

QPalette palette()
{
    QPalette scheme;
    for (const RoleColor &entry : Scheme)
        scheme.setColor(entry.role, QColor::fromRgb(entry.color));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        scheme.setColor(QPalette::Disabled, role, QColor::fromRgb(GrayText));
    return scheme;
}

} // namespace SystemColors
