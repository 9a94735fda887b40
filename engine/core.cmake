# Simulation, numeric routines and rendering.
