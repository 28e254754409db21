#pragma once

class ModuloGraficos;
class ModuloImpresion;

// The modules of charts and printing, each loaded the first time it is asked for. When one cannot
// be loaded the person is told what cannot be done, and nullptr is returned.
const ModuloGraficos* ModuloDeGraficos();
const ModuloImpresion* ModuloDeImpresion();
