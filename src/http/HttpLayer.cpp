// Placeholder until the HTTP server layer lands.
