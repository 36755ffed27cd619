# Smoothing and the expression language.
