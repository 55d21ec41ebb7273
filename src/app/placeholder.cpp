// Removed once the first window source lands.
