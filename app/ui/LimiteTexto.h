#pragma once

class QLineEdit;

// Limits a text box to a number of characters as a person sees them: an emoji, or a letter
// with its accent typed apart, counts once and is never cut in half (QLineEdit's own limit
// counts UTF-16 units and stores the half of an emoji as "?").
void LimitarCaracteres(QLineEdit* campo, int maximo);
