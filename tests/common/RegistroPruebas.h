#pragma once

#include <QObject>
#include <functional>

// Test classes register themselves; one executable runs every class of its subsystem.
int RegistrarPrueba(const char* nombre, std::function<QObject*()> crear);

#define QUIMBEL_PRUEBA(Clase)                                                                      \
    static const int registro_##Clase = RegistrarPrueba(#Clase, [] { return new Clase; });
