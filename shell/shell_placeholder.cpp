// The library of the start-up and main windows.
