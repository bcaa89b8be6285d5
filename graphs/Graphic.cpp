// placeholder: filled in by the module's first implementation
