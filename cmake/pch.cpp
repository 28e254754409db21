// Builds the precompiled header that every library of the program reuses.
