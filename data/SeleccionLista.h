#pragma once

#include <QString>

// Which records a maintenance window's list shows: all of them, as the window first loads them or
// as it reloads them later, or those whose description contains `texto` (without regard to case).
struct SeleccionLista {
    enum class Tipo { AlAbrir, Todos, Busqueda };
    Tipo tipo = Tipo::Todos;
    QString texto;
};
