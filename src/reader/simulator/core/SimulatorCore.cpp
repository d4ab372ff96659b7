// Placeholder: the simulator core lands with the simulated reader.
