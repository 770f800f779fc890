// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QWidget;

// The skinned forms' input fields have a silver background (the counter field keeps white).
// Set through the palette, so the style still draws the spin editors' buttons and greying.
void paintSilver(QWidget *field);
