// The dialog words of the nine named languages, in the order of the word
// indices (0 "Preview" ... 119 "Close"), UTF-8.
#include "imaging/proc/msg_words.h"

#include <array>
#include <string_view>

namespace quillet {

namespace {

using TRow = std::array<std::string_view, kMsgWordCount>;

constexpr TRow kEnglish = {
    "Preview", "Original", "Result", "OK", "Cancel", "Lock preview", "Copy Result to Original", "Contrast",
    "Brightness", "Hue", "Saturation", "Value", "Base color", "New color", "Luminosity", "Red", "Green", "Blue",
    "Filter values", "Presets", "Divisor", "Load", "Save", "Equalization", "Threshold", "Equalize", "Histogram",
    "Gray", "Light", "Left", "Top", "Width", "Height", "Color", "Original image quantity", "Lens", "Refraction",
    "Parameters Preview", "Quality", "DCT method", "Smoothing factor", "Gray scale", "Optimal Huffman",
    "Original size", "Compressed size", "Advanced", "Progressive", "Compression", "Image index", "Photometric",
    "Scanned document info", "Name", "Description", "Page name", "Page number", "of", "Horiz. Position (inch)",
    "Vert. Position (inch)", "Colors", "Transparent", "Transparent color", "Interlaced", "Background",
    "Horiz. Position", "Vert. Position", "Delay time", "Filter", "Wave", "Amplitude", "Wave length", "Phase",
    "Reflective", "User filter", "Morphing filters", "Window size", "Maximum", "Minimum", "Opening", "Closing",
    "Rotate", "Flip", "Horizontal", "Vertical", "Frequency domain image", "Select the region to clean", "Clear",
    "Reset", "Animate", "Load filter", "Save filter", "Bump map", "Print", "Margins", "inches", "Right", "Bottom",
    "Position", "Size", "Normal", "Fit to page", "Stretch to page", "Specified size", "Gamma correction", "Value",
    "Print Setup", "Left Margin", "Top Margin", "Right Margin", "Bottom Margin", "Location/size", "Top Left",
    "Top Center", "Top Right", "Center Left", "Center", "Center Right", "Bottom Left", "Bottom Center",
    "Bottom Right", "Close",
};

constexpr TRow kItalian = {
    "Anteprima", "Originale", "Risultato", "OK", "Annulla", "Blocca anteprima", "Copia risultato sull'originale",
    "Contrasto", "Luminosità", "Tonalità", "Saturazione", "Brillantezza", "Colore base", "Nuovo colore", "Luminanza",
    "Rosso", "Verde", "Blu", "Valori filtro", "Predefiniti", "Divisore", "Carica", "Salva", "Equalizzazione",
    "Soglia", "Equalizza", "Istogramma", "Grigio", "Luce", "Sinistra", "Alto", "Larghezza", "Altezza", "Colore",
    "Quantità immagine originale", "Lente", "Rifrazione", "Anteprima parametri", "Qualità", "Metodo DCT",
    "Fattore di smussatura", "Scala di grigi", "Huffman ottimizzato", "Dimensione originale", "Dimensione compressa",
    "Avanzate", "Progressivo", "Compressione", "Indice immagine", "Fotometrico", "Informazioni documento acquisito",
    "Nome", "Descrizione", "Nome pagina", "Numero pagina", "di", "Posizione orizz. (pollici)",
    "Posizione vert. (pollici)", "Colori", "Trasparente", "Colore trasparente", "Interlacciato", "Sfondo",
    "Posizione orizz.", "Posizione vert.", "Tempo di ritardo", "Filtro", "Onda", "Ampiezza", "Lunghezza d'onda",
    "Fase", "Riflettente", "Filtro utente", "Filtri morfologici", "Dimensione finestra", "Massimo", "Minimo",
    "Apertura", "Chiusura", "Ruota", "Capovolgi", "Orizzontale", "Verticale", "Immagine nel dominio della frequenza",
    "Seleziona la regione da pulire", "Pulisci", "Ripristina", "Anima", "Carica filtro", "Salva filtro", "Bump map",
    "Stampa", "Margini", "pollici", "Destra", "Basso", "Posizione", "Dimensione", "Normale", "Adatta alla pagina",
    "Estendi alla pagina", "Dimensione specificata", "Correzione gamma", "Valore", "Imposta stampa",
    "Margine sinistro", "Margine superiore", "Margine destro", "Margine inferiore", "Posizione/dimensione",
    "In alto a sinistra", "In alto al centro", "In alto a destra", "Al centro a sinistra", "Centro",
    "Al centro a destra", "In basso a sinistra", "In basso al centro", "In basso a destra", "Chiudi",
};

constexpr TRow kGerman = {
    "Vorschau", "Quelle", "Ergebnis", "OK", "Abbrechen", "Vorschau sperren", "Ergebnis ins Original kopieren",
    "Kontrast", "Leuchtkraft", "Farbton", "Sättigung", "Helligkeit", "Grundfarbe", "Neue Farbe", "Luminanz", "Rot",
    "Grün", "Blau", "Filterwerte", "Vorgaben", "Teiler", "Laden", "Speichern", "Tonwertausgleich", "Schwellenwert",
    "Ausgleichen", "Histogramm", "Grau", "Licht", "Links", "Oben", "Breite", "Höhe", "Farbe",
    "Anzahl der Originalbilder", "Linse", "Brechung", "Parametervorschau", "Qualität", "DCT-Methode",
    "Glättungsfaktor", "Graustufen", "Optimales Huffman", "Originalgröße", "Komprimierte Größe", "Erweitert",
    "Progressiv", "Komprimierung", "Bildindex", "Photometrie", "Info zum gescannten Dokument", "Name", "Beschreibung",
    "Seitenname", "Seitennummer", "von", "Horiz. Position (Zoll)", "Vert. Position (Zoll)", "Farben", "Transparent",
    "Transparente Farbe", "Zeilensprung", "Hintergrund", "Horiz. Position", "Vert. Position", "Verzögerung", "Filter",
    "Welle", "Amplitude", "Wellenlänge", "Phase", "Spiegelnd", "Benutzerfilter", "Morphologische Filter",
    "Fenstergröße", "Maximum", "Minimum", "Öffnen", "Schließen", "Drehen", "Spiegeln", "Horizontal", "Vertikal",
    "Bild im Frequenzbereich", "Zu löschenden Bereich wählen", "Löschen", "Zurücksetzen", "Animieren", "Filter laden",
    "Filter speichern", "Bump map", "Drucken", "Ränder", "Zoll", "Rechts", "Unten", "Position", "Größe", "Normal",
    "An Seite anpassen", "Auf Seite strecken", "Angegebene Größe", "Gammakorrektur", "Wert", "Druckeinrichtung",
    "Linker Rand", "Oberer Rand", "Rechter Rand", "Unterer Rand", "Position/Größe", "Oben links", "Oben Mitte",
    "Oben rechts", "Mitte links", "Mitte", "Mitte rechts", "Unten links", "Unten Mitte", "Unten rechts", "Schließen",
};

constexpr TRow kSpanish = {
    "Vista Previa", "Original", "Resultado", "Aceptar", "Cancelar", "Bloquear vista previa",
    "Copiar resultado al original", "Contraste", "Brillo", "Tono", "Saturación", "Valor", "Color base", "Color nuevo",
    "Luminosidad", "Rojo", "Verde", "Azul", "Valores del filtro", "Predefinidos", "Divisor", "Cargar", "Guardar",
    "Ecualización", "Umbral", "Ecualizar", "Histograma", "Gris", "Luz", "Izquierda", "Arriba", "Ancho", "Alto",
    "Color", "Cantidad de imagen original", "Lente", "Refracción", "Vista previa de parámetros", "Calidad",
    "Método DCT", "Factor de suavizado", "Escala de grises", "Huffman óptimo", "Tamaño original", "Tamaño comprimido",
    "Avanzado", "Progresivo", "Compresión", "Índice de imagen", "Fotométrico", "Información del documento escaneado",
    "Nombre", "Descripción", "Nombre de página", "Número de página", "de", "Posición horiz. (pulgadas)",
    "Posición vert. (pulgadas)", "Colores", "Transparente", "Color transparente", "Entrelazado", "Fondo",
    "Posición horiz.", "Posición vert.", "Tiempo de retardo", "Filtro", "Onda", "Amplitud", "Longitud de onda",
    "Fase", "Reflectante", "Filtro de usuario", "Filtros morfológicos", "Tamaño de ventana", "Máximo", "Mínimo",
    "Apertura", "Cierre", "Girar", "Voltear", "Horizontal", "Vertical", "Imagen en el dominio de la frecuencia",
    "Seleccione la región a limpiar", "Limpiar", "Restablecer", "Animar", "Cargar filtro", "Guardar filtro",
    "Bump map", "Imprimir", "Márgenes", "pulgadas", "Derecha", "Abajo", "Posición", "Tamaño", "Normal",
    "Ajustar a la página", "Estirar a la página", "Tamaño especificado", "Corrección gamma", "Valor gamma",
    "Configurar impresión", "Margen izquierdo", "Margen superior", "Margen derecho", "Margen inferior",
    "Ubicación/tamaño", "Arriba a la izquierda", "Arriba al centro", "Arriba a la derecha", "Centro a la izquierda",
    "Centro", "Centro a la derecha", "Abajo a la izquierda", "Abajo al centro", "Abajo a la derecha", "Cerrar",
};

constexpr TRow kFrench = {
    "Prévisualisation", "Source", "Résultat", "OK", "Annuler", "Verrouiller l'aperçu",
    "Copier le résultat dans l'original", "Contraste", "Luminosité", "Teinte", "Saturation", "Valeur",
    "Couleur de base", "Nouvelle couleur", "Luminance", "Rouge", "Vert", "Bleu", "Valeurs du filtre", "Préréglages",
    "Diviseur", "Charger", "Enregistrer", "Égalisation", "Seuil", "Égaliser", "Histogramme", "Gris", "Lumière",
    "Gauche", "Haut", "Largeur", "Hauteur", "Couleur", "Quantité d'image originale", "Lentille", "Réfraction",
    "Aperçu des paramètres", "Qualité", "Méthode DCT", "Facteur de lissage", "Niveaux de gris", "Huffman optimal",
    "Taille originale", "Taille compressée", "Avancé", "Progressif", "Compression", "Index de l'image",
    "Photométrique", "Infos du document numérisé", "Nom", "Description", "Nom de la page", "Numéro de page", "sur",
    "Position horiz. (pouces)", "Position vert. (pouces)", "Couleurs", "Transparent", "Couleur transparente",
    "Entrelacé", "Arrière-plan", "Position horiz.", "Position vert.", "Délai", "Filtre", "Onde", "Amplitude",
    "Longueur d'onde", "Phase", "Réfléchissant", "Filtre utilisateur", "Filtres morphologiques",
    "Taille de la fenêtre", "Maximum", "Minimum", "Ouverture", "Fermeture", "Rotation", "Retourner", "Horizontal",
    "Vertical", "Image dans le domaine fréquentiel", "Sélectionnez la région à effacer", "Effacer", "Réinitialiser",
    "Animer", "Charger le filtre", "Enregistrer le filtre", "Bump map", "Imprimer", "Marges", "pouces", "Droite",
    "Bas", "Position", "Taille", "Normal", "Ajuster à la page", "Étirer sur la page", "Taille spécifiée",
    "Correction gamma", "Valeur gamma", "Configuration de l'impression", "Marge gauche", "Marge haute",
    "Marge droite", "Marge basse", "Emplacement/taille", "En haut à gauche", "En haut au centre", "En haut à droite",
    "Au centre à gauche", "Centre", "Au centre à droite", "En bas à gauche", "En bas au centre", "En bas à droite",
    "Fermer",
};

constexpr TRow kPortuguese = {
    "Visualizar", "Original", "Resultado", "OK", "Cancelar", "Bloquear visualização",
    "Copiar resultado para o original", "Contraste", "Brilho", "Matiz", "Saturação", "Valor", "Cor base", "Nova cor",
    "Luminosidade", "Vermelho", "Verde", "Azul", "Valores do filtro", "Predefinições", "Divisor", "Carregar",
    "Salvar", "Equalização", "Limiar", "Equalizar", "Histograma", "Cinza", "Luz", "Esquerda", "Topo", "Largura",
    "Altura", "Cor", "Quantidade da imagem original", "Lente", "Refração", "Visualização dos parâmetros", "Qualidade",
    "Método DCT", "Fator de suavização", "Escala de cinza", "Huffman otimizado", "Tamanho original",
    "Tamanho comprimido", "Avançado", "Progressivo", "Compressão", "Índice da imagem", "Fotométrico",
    "Informações do documento digitalizado", "Nome", "Descrição", "Nome da página", "Número da página", "de",
    "Posição horiz. (polegadas)", "Posição vert. (polegadas)", "Cores", "Transparente", "Cor transparente",
    "Entrelaçado", "Fundo", "Posição horiz.", "Posição vert.", "Tempo de atraso", "Filtro", "Onda", "Amplitude",
    "Comprimento de onda", "Fase", "Refletivo", "Filtro do usuário", "Filtros morfológicos", "Tamanho da janela",
    "Máximo", "Mínimo", "Abertura", "Fechamento", "Girar", "Inverter", "Horizontal", "Vertical",
    "Imagem no domínio da frequência", "Selecione a região a limpar", "Limpar", "Redefinir", "Animar",
    "Carregar filtro", "Salvar filtro", "Bump map", "Imprimir", "Margens", "polegadas", "Direita", "Inferior",
    "Posição", "Tamanho", "Normal", "Ajustar à página", "Esticar na página", "Tamanho especificado", "Correção gama",
    "Valor gama", "Configurar impressão", "Margem esquerda", "Margem superior", "Margem direita", "Margem inferior",
    "Posição/tamanho", "Superior esquerdo", "Superior central", "Superior direito", "Centro esquerdo", "Centro",
    "Centro direito", "Inferior esquerdo", "Inferior central", "Inferior direito", "Fechar",
};

constexpr TRow kGreek = {
    "Προεπισκόπηση", "Αρχική", "Αποτέλεσμα", "OK", "Άκυρο", "Κλείδωμα προεπισκόπησης",
    "Αντιγραφή αποτελέσματος στην αρχική", "Αντίθεση", "Φωτεινότητα", "Απόχρωση", "Κορεσμός", "Λαμπρότητα",
    "Βασικό χρώμα", "Νέο χρώμα", "Φωταύγεια", "Κόκκινο", "Πράσινο", "Μπλε", "Τιμές φίλτρου", "Προεπιλογές",
    "Διαιρέτης", "Φόρτωση", "Αποθήκευση", "Εξισορρόπηση", "Κατώφλι", "Εξισορρόπησε", "Ιστόγραμμα", "Γκρι", "Φως",
    "Αριστερά", "Πάνω", "Πλάτος", "Ύψος", "Χρώμα", "Ποσότητα αρχικής εικόνας", "Φακός", "Διάθλαση",
    "Προεπισκόπηση παραμέτρων", "Ποιότητα", "Μέθοδος DCT", "Συντελεστής εξομάλυνσης", "Κλίμακα του γκρι",
    "Βέλτιστο Huffman", "Αρχικό μέγεθος", "Συμπιεσμένο μέγεθος", "Για προχωρημένους", "Προοδευτικό", "Συμπίεση",
    "Δείκτης εικόνας", "Φωτομετρικό", "Πληροφορίες σαρωμένου εγγράφου", "Όνομα", "Περιγραφή", "Όνομα σελίδας",
    "Αριθμός σελίδας", "από", "Οριζ. θέση (ίντσες)", "Κατακ. θέση (ίντσες)", "Χρώματα", "Διαφανές", "Διαφανές χρώμα",
    "Πεπλεγμένο", "Φόντο", "Οριζ. θέση", "Κατακ. θέση", "Χρόνος καθυστέρησης", "Φίλτρο", "Κύμα", "Εύρος",
    "Μήκος κύματος", "Φάση", "Ανακλαστικό", "Φίλτρο χρήστη", "Μορφολογικά φίλτρα", "Μέγεθος παραθύρου", "Μέγιστο",
    "Ελάχιστο", "Άνοιγμα", "Κλείσιμο", "Περιστροφή", "Αναστροφή", "Οριζόντια", "Κατακόρυφα",
    "Εικόνα στο πεδίο συχνοτήτων", "Επιλέξτε την περιοχή για καθαρισμό", "Καθαρισμός", "Επαναφορά", "Κίνηση",
    "Φόρτωση φίλτρου", "Αποθήκευση φίλτρου", "Bump map", "Εκτύπωση", "Περιθώρια", "ίντσες", "Δεξιά", "Κάτω", "Θέση",
    "Μέγεθος", "Κανονικό", "Προσαρμογή στη σελίδα", "Επέκταση στη σελίδα", "Καθορισμένο μέγεθος", "Διόρθωση γάμμα",
    "Τιμή", "Ρύθμιση εκτύπωσης", "Αριστερό περιθώριο", "Άνω περιθώριο", "Δεξί περιθώριο", "Κάτω περιθώριο",
    "Θέση/μέγεθος", "Πάνω αριστερά", "Πάνω κέντρο", "Πάνω δεξιά", "Κέντρο αριστερά", "Κέντρο", "Κέντρο δεξιά",
    "Κάτω αριστερά", "Κάτω κέντρο", "Κάτω δεξιά", "Κλείσιμο",
};

constexpr TRow kRussian = {
    "Просмотр", "Оригинал", "Результат", "OK", "Отмена", "Закрепить просмотр", "Копировать результат в оригинал",
    "Контраст", "Яркость", "Тон", "Насыщенность", "Значение", "Базовый цвет", "Новый цвет", "Светлота", "Красный",
    "Зелёный", "Синий", "Значения фильтра", "Наборы", "Делитель", "Загрузить", "Сохранить", "Выравнивание", "Порог",
    "Выровнять", "Гистограмма", "Серый", "Свет", "Слева", "Сверху", "Ширина", "Высота", "Цвет",
    "Количество исходных изображений", "Линза", "Преломление", "Просмотр параметров", "Качество", "Метод DCT",
    "Коэффициент сглаживания", "Оттенки серого", "Оптимальный Хаффман", "Исходный размер", "Сжатый размер",
    "Дополнительно", "Прогрессивный", "Сжатие", "Номер изображения", "Фотометрия",
    "Сведения о сканированном документе", "Имя", "Описание", "Имя страницы", "Номер страницы", "из",
    "Гориз. позиция (дюймы)", "Верт. позиция (дюймы)", "Цвета", "Прозрачный", "Прозрачный цвет", "Чересстрочный",
    "Фон", "Гориз. позиция", "Верт. позиция", "Задержка", "Фильтр", "Волна", "Амплитуда", "Длина волны", "Фаза",
    "Отражающий", "Пользовательский фильтр", "Морфологические фильтры", "Размер окна", "Максимум", "Минимум",
    "Размыкание", "Замыкание", "Поворот", "Отразить", "Горизонтально", "Вертикально",
    "Изображение в частотной области", "Выберите область для очистки", "Очистить", "Сбросить", "Анимировать",
    "Загрузить фильтр", "Сохранить фильтр", "Bump map", "Печать", "Поля", "дюймы", "Справа", "Снизу", "Положение",
    "Размер", "Обычный", "По размеру страницы", "Растянуть на страницу", "Заданный размер", "Гамма-коррекция",
    "Величина", "Настройка печати", "Левое поле", "Верхнее поле", "Правое поле", "Нижнее поле", "Положение/размер",
    "Вверху слева", "Вверху по центру", "Вверху справа", "В центре слева", "По центру", "В центре справа",
    "Внизу слева", "Внизу по центру", "Внизу справа", "Закрыть",
};

constexpr TRow kDutch = {
    "Voorbeeld", "Origineel", "Resultaat", "OK", "Annuleren", "Voorbeeld vergrendelen",
    "Resultaat naar origineel kopiëren", "Contrast", "Helderheid", "Tint", "Verzadiging", "Intensiteit", "Basiskleur",
    "Nieuwe kleur", "Lichtsterkte", "Rood", "Groen", "Blauw", "Filterwaarden", "Voorinstellingen", "Deler", "Laden",
    "Opslaan", "Egalisatie", "Drempel", "Egaliseren", "Histogram", "Grijs", "Licht", "Links", "Boven", "Breedte",
    "Hoogte", "Kleur", "Aantal originele afbeeldingen", "Lens", "Breking", "Voorbeeld van parameters", "Kwaliteit",
    "DCT-methode", "Afvlakkingsfactor", "Grijswaarden", "Optimale Huffman", "Oorspronkelijke grootte",
    "Gecomprimeerde grootte", "Geavanceerd", "Progressief", "Compressie", "Afbeeldingsindex", "Fotometrisch",
    "Info gescand document", "Naam", "Beschrijving", "Paginanaam", "Paginanummer", "van", "Horiz. positie (inch)",
    "Vert. positie (inch)", "Kleuren", "Transparant", "Transparante kleur", "Geïnterlinieerd", "Achtergrond",
    "Horiz. positie", "Vert. positie", "Vertraging", "Filter", "Golf", "Amplitude", "Golflengte", "Fase",
    "Spiegelend", "Gebruikersfilter", "Morfologische filters", "Venstergrootte", "Maximum", "Minimum", "Opening",
    "Sluiting", "Draaien", "Spiegelen", "Horizontaal", "Verticaal", "Afbeelding in frequentiedomein",
    "Selecteer het te wissen gebied", "Wissen", "Herstellen", "Animeren", "Filter laden", "Filter opslaan",
    "Hoogtekaart", "Afdrukken", "Marges", "inch", "Rechts", "Onder", "Positie", "Grootte", "Normaal",
    "Passend op pagina", "Uitrekken tot pagina", "Opgegeven grootte", "Gammacorrectie", "Waarde", "Afdrukinstelling",
    "Linkermarge", "Bovenmarge", "Rechtermarge", "Ondermarge", "Positie/grootte", "Linksboven", "Middenboven",
    "Rechtsboven", "Middenlinks", "Midden", "Middenrechts", "Linksonder", "Middenonder", "Rechtsonder", "Sluiten",
};

}  // namespace

void FillStandardWords(const std::function<void(TMsgLanguage, int, std::string_view)>& write) {
  const std::pair<TMsgLanguage, const TRow*> rows[] = {
      {TMsgLanguage::msEnglish, &kEnglish},
      {TMsgLanguage::msItalian, &kItalian},
      {TMsgLanguage::msGerman, &kGerman},
      {TMsgLanguage::msSpanish, &kSpanish},
      {TMsgLanguage::msFrench, &kFrench},
      {TMsgLanguage::msPortuguese, &kPortuguese},
      {TMsgLanguage::msGreek, &kGreek},
      {TMsgLanguage::msRussian, &kRussian},
      {TMsgLanguage::msDutch, &kDutch},
  };
  for (const auto& [language, row] : rows)
    for (int i = 0; i < kMsgWordCount; ++i) write(language, i, (*row)[size_t(i)]);
}

}  // namespace quillet
