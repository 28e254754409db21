#pragma once

class QComboBox;

// An editable list whose rows are only suggestions: typing shows, in a popup, the rows that
// contain the text, and what was typed stays as typed unless the person picks one of them.
// Qt's own completion of an editable list would fill in the first row that starts with the
// text (and fix its letter case), so "Caja" typed and left would be stored as "Caja x 100".
namespace Sugerencias {
void Ofrecer(QComboBox* lista);
} // namespace Sugerencias
