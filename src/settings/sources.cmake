# Profile store and settings key.
