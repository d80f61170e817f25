// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;
class Dispatchable;

// The procedures that only the start-up uses.

// Sets the application title: the product name cut at its last space until it
// is at most 40 characters long, so always without its last word ("Tavorin").
void SetAppTitle();

// Applies the optional skin: when the application folder holds the ordinary
// file x/o.cjs, the window, its frames and its labels take the button-face
// colour and the skin engine loads the file and skins the window.
void ApplySkin(QWidget &form, Dispatchable &skinFramework);
