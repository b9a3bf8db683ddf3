// The library of the test windows and their rules.
