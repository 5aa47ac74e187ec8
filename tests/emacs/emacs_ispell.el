;;; Drives Emacs's own ispell and flyspell with tovuri-check, in batch mode.
;;; Run by emacs_ispell.sh, which sets TOVURI_CHECK and a temporary home.
(require 'cl-lib)
(require 'ispell)
(require 'flyspell)

;; The configuration the README gives users.
(setq ispell-program-name (getenv "TOVURI_CHECK"))
(setq ispell-local-dictionary-alist
      '(("ndebele" "[[:alpha:]]" "[^[:alpha:]]" "['’]" t ("-d" "nd") nil utf-8))
      ispell-dictionary "ndebele")
;; Batch mode cannot answer "Save?": the private dictionary is saved unasked.
(setq ispell-silently-savep t)

(defvar tovuri-failures 0)
(defun tovuri-expect (what actual expected)
  (if (equal actual expected)
      (message "ok: %s" what)
    (setq tovuri-failures (1+ tovuri-failures))
    (message "FAILED: %s\n  got:      %S\n  expected: %S" what actual expected)))

(defun should-be-long (size)
  (unless (> size flyspell-large-region)
    (error "the buffer (%d) is not longer than flyspell-large-region" size)))

(defconst tovuri-text "Abantu bayahamba ekuseni.\nUmuntu abntu né inja’ qwxz simbona.\n")

;; flyspell marks the misspelt words of a buffer. It cuts the words itself
;; and sends them one by one: "inja’" reaches tovuri-check as "inja".
(with-temp-buffer
  (insert tovuri-text)
  (flyspell-mode 1)
  (flyspell-buffer)
  (tovuri-expect "flyspell marks the misspelt words"
                 (sort (delete-dups
                        (mapcar (lambda (o) (buffer-substring-no-properties (overlay-start o) (overlay-end o)))
                                (seq-filter #'flyspell-overlay-p (overlays-in (point-min) (point-max)))))
                       #'string<)
                 '("abntu" "né" "qwxz")))

;; A region longer than flyspell-large-region goes to the program at once
;; (tovuri-check -l, as ispell -l), which lists the misspelt words.
(with-temp-buffer
  (dotimes (_ 60) (insert tovuri-text))
  (insert "Bayahamba lezinjaa.\n")
  (should-be-long (buffer-size))
  (flyspell-mode 1)
  (flyspell-region (point-min) (point-max))
  (tovuri-expect "flyspell marks the misspelt words of a long buffer"
                 (sort (delete-dups
                        (mapcar (lambda (o) (buffer-substring-no-properties (overlay-start o) (overlay-end o)))
                                (seq-filter #'flyspell-overlay-p (overlays-in (point-min) (point-max)))))
                       #'string<)
                 '("abntu" "lezinjaa" "né" "qwxz")))

;; ispell walks the buffer and applies the chosen correction (the first
;; suggestion stands in for the user's choice; words without one are kept).
(with-temp-buffer
  (insert tovuri-text)
  (let ((offered nil))
    (cl-letf (((symbol-function 'ispell-command-loop)
               (lambda (miss _guess word _start _end)
                 (push (cons word miss) offered)
                 (and miss (car miss)))))
      (ispell-buffer))
    (tovuri-expect "ispell offers each misspelt word with its suggestions"
                   (reverse offered)
                   '(("abntu" "abantu" "bantu") ("né" "na") ("qwxz")))
    (tovuri-expect "ispell applies the chosen corrections where the words stand"
                   (buffer-string)
                   "Abantu bayahamba ekuseni.\nUmuntu abantu na inja’ qwxz simbona.\n")))

;; ispell-word on the word at point, and "i" (insert into the private
;; dictionary, as the command loop does it), which tovuri-check keeps in the
;; user's custom dictionary for the next process.
(defun tovuri-asked-about (word)
  "Whether ispell-word asks about WORD."
  (with-temp-buffer
    (insert word)
    (goto-char (point-min))
    (let (asked)
      (cl-letf (((symbol-function 'ispell-command-loop)
                 (lambda (&rest _) (setq asked t) nil)))
        (ispell-word))
      asked)))

(with-temp-buffer
  (insert "qwxz")
  (goto-char (point-min))
  (cl-letf (((symbol-function 'ispell-command-loop)
             (lambda (_miss _guess word _start _end)
               (ispell-send-string (concat "*" word "\n"))
               (setq ispell-pdict-modified-p '(t))
               nil)))
    (ispell-word))
  (ispell-pdict-save t)
  ;; One more round trip, so the process has read the lines before it is stopped.
  (tovuri-expect "a known word is not asked about" (tovuri-asked-about "umuntu") nil)
  (ispell-kill-ispell t)
  (tovuri-expect "a word inserted into the private dictionary is accepted by the next process"
                 (tovuri-asked-about "qwxz") nil)
  (tovuri-expect "a misspelt word is still asked about" (tovuri-asked-about "abntu") t))

(ispell-kill-ispell t)

;; A lexicon that draws warnings: the program still starts, and nothing but
;; the protocol reaches Emacs, which reads its standard error with its output.
(let ((ispell-local-dictionary-alist
       `(("ndebele-warned" "[[:alpha:]]" "[^[:alpha:]]" "['’]" t ("-d" "nd" "--data" ,(getenv "TOVURI_WARNED_DATA"))
          nil utf-8)))
      (ispell-dictionary "ndebele-warned")
      (ispell-local-dictionary "ndebele-warned"))
  (tovuri-expect "a lexicon with warnings starts and answers" (tovuri-asked-about "abntu") t)
  (tovuri-expect "and a known word is known" (tovuri-asked-about "umuntu") nil)
  (ispell-kill-ispell t))

(message "%d failure(s)" tovuri-failures)
(kill-emacs (if (= tovuri-failures 0) 0 1))
