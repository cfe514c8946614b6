// Placeholder until this folder has sources; removed by its first real file.
